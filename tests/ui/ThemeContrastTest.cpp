#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <algorithm>
#include <cmath>
#include <map>

#include "FormPainter.h"
#include "OneTestOfMany.h"
#include "WindowFixture.h"

namespace {

// Relative luminance and contrast ratio as WCAG 2.1 defines them.
double luminance(QRgb rgb) {
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a region is drawn on is its most frequent colour; what is drawn there is its pixel that
// stands out most against it.
double regionContrast(const QImage& image, const QRect& region) {
    std::map<QRgb, int> counts;
    const QRect inside = region & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
    if (counts.empty()) return 0;
    const QRgb ground = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->first;
    double best = 1;
    for (const auto& [rgb, count] : counts) best = std::max(best, contrast(rgb, ground));
    return best;
}

// A colour scheme as qt6ct writes one: each group's colours in the order of QPalette's roles.
QPalette schemePalette(const QString& path) {
    const QSettings scheme(path, QSettings::IniFormat);
    QPalette palette;
    const std::pair<QPalette::ColorGroup, const char*> groups[] = {
        {QPalette::Active, "active"},
        {QPalette::Inactive, "inactive"},
        {QPalette::Disabled, "disabled"}};
    for (const auto& [group, name] : groups) {
        const QStringList colors =
            scheme.value(QStringLiteral("ColorScheme/%1_colors").arg(name)).toStringList();
        for (int role = 0; role < std::min(int(colors.size()), int(QPalette::NColorRoles)); ++role)
            palette.setColor(group, QPalette::ColorRole(role), QColor(colors[role].trimmed()));
    }
    return palette;
}

struct Measured {
    const char* what;
    double ratio;
    double minimum;
};

}  // namespace

class ThemeContrastTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_lightPalette = QApplication::palette(); }
    void cleanup() { QApplication::setPalette(m_lightPalette); }

    void everyTextAndGraphicStandsOut_data();
    void everyTextAndGraphicStandsOut();
    void aDarkThemePrintsTheLightLooksPage();

private:
    QPalette m_lightPalette;
};

void ThemeContrastTest::everyTextAndGraphicStandsOut_data() {
    QTest::addColumn<QString>("scheme");  // none: the light look
    const QString themes = QStringLiteral(QUILVANE_TEST_THEMES);
    QTest::newRow("light look") << QString();
    QTest::newRow("GTK Adwaita dark") << themes + "/adwaita-dark.conf";
    QTest::newRow("qt6ct darker") << QStringLiteral("/usr/share/qt6ct/colors/darker.conf");
    QTest::newRow("inverse high contrast") << themes + "/inverse-high-contrast.conf";
}

void ThemeContrastTest::everyTextAndGraphicStandsOut() {
    QFETCH(QString, scheme);
    if (!scheme.isEmpty()) {
        if (!QFile::exists(scheme)) QSKIP(qPrintable(scheme + " is missing"));
        QApplication::setPalette(schemePalette(scheme));
    }
    WindowFixture window;
    Form1& form = *window.form;
    const FormCanvas& canvas = form.canvas();
    const QListWidget* list = window.list();
    // The regions of the client area, in the canvas's coordinates.
    auto drawn = [&](const char* name) {
        return form_painter::extent(window.drawn(QLatin1String(name))).toAlignedRect();
    };
    auto leftOf = [](const QRect& rect, int x) {
        return rect.adjusted(0, 0, x - 1 - rect.right(), 0);
    };
    auto row = [&](int r) {
        return list->visualItemRect(list->item(r))
            .translated(list->viewport()->mapTo(&canvas, QPoint()));
    };
    auto inside = [](const QWidget* widget, int margin) {
        return widget->geometry().adjusted(margin, margin, -margin, -margin);
    };
    // Label1 without the mean bar at its left, the list at its right, the separator below it.
    auto label1 = [&] {
        return QRect(QPoint(drawn("Shape1").right() + 1, drawn("Label1").top()),
                     QPoint(list->x() - 1, drawn("Line47").top() - 1));
    };
    // Three rows between two lines of the hatch, which repeat every 8 pixels.
    auto betweenHatchLines = [](const QRect& rect) {
        return QRect(rect.left(), rect.center().y() / 8 * 8 - 1, rect.width(), 3);
    };
    auto client = [&] {
        return form.grab().toImage().copy(QRect(canvas.mapTo(&form, QPoint()), canvas.size()));
    };

    window.type(1, QStringLiteral("10"));
    window.type(2, QStringLiteral("20"));
    window.type(3, QStringLiteral("33"));
    const double media = regionContrast(client(), label1());
    window.pickCount(3);
    window.compute();
    const QImage image = client();
    double monthNames = 100;
    for (int label = 2; label <= 13; ++label)
        monthNames = std::min(
            monthNames,
            regionContrast(image, leftOf(drawn(qPrintable(QStringLiteral("Label%1").arg(label))),
                                         window.box(2)->x())));
    const QRect frame = drawn("Shape3");
    const QRect inner = frame.adjusted(5, 5, -5, -5);
    const Measured measured[] = {
        {"List1's item", regionContrast(image, row(0)), 4.5},
        // Qt's own selection, white on blue, is 3.6 : 1 on the light look, which stays so.
        {"List1's selected item", regionContrast(image, row(2)), 3.5},
        {"Label15", regionContrast(image, leftOf(drawn("Label15"), list->x())), 4.5},
        {"Label1, \"Media:\"", media, 4.5},
        {"Label1, the mean", regionContrast(image, label1()), 4.5},
        {"month names", monthNames, 4.5},
        {"a month box", regionContrast(image, inside(window.box(2), 3)), 4.5},
        {"the button's caption", regionContrast(image, inside(window.button(), 4)), 4.5},
        {"the menu bar", regionContrast(form.grab().toImage(), form.menuBar()->geometry()), 4.5},
        // The layout's bright green on the light face is 1.19 : 1, and stays so.
        {"a bar", regionContrast(image, betweenHatchLines(drawn("Line4").adjusted(-6, 0, 6, 0))),
         1.15},
        {"a ruler tick", regionContrast(image, drawn("Line15").adjusted(-3, 2, 3, 0)), 3},
        {"the frame",
         regionContrast(image,
                        betweenHatchLines(QRect(frame.left() - 6, frame.center().y(), 11, 1))),
         3},
        {"the hatch",
         regionContrast(image, QRect(inner.left(), inner.top() + 8, inner.width(), 24)), 3},
    };
    for (const Measured& m : measured) qInfo("%-24s %6.2f : 1", m.what, m.ratio);
    QStringList faint;
    for (const Measured& m : measured)
        if (m.ratio < m.minimum)
            faint << QStringLiteral("%1 %2 : 1").arg(m.what).arg(m.ratio, 0, 'f', 2);
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QStringLiteral(", "))));
    // The window's palette is the light look's, role by role, whatever the theme.
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            QCOMPARE(form.palette().color(group, QPalette::ColorRole(role)).rgba(),
                     m_lightPalette.color(group, QPalette::ColorRole(role)).rgba());
}

// Dark mode is for screens: paper gets the light look's page, pixel for pixel.
void ThemeContrastTest::aDarkThemePrintsTheLightLooksPage() {
    auto printed = [] {
        WindowFixture window;
        window.type(1, QStringLiteral("10"));
        window.pickCount(1);
        window.compute();
        window.print();
        return window.desktop.lastPage;
    };
    const QImage light = printed();
    QApplication::setPalette(
        schemePalette(QStringLiteral(QUILVANE_TEST_THEMES) + "/adwaita-dark.conf"));
    const QImage dark = printed();
    QVERIFY(!light.isNull());
    QCOMPARE(dark, light);
}

QUILVANE_TEST_MAIN(ThemeContrastTest)
#include "ThemeContrastTest.moc"
