#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include <functional>
#include <utility>

#include "FormLayout.h"
#include "LightPalette.h"
#include "OneTestOfMany.h"
#include "WindowFigures.h"
#include "WindowFixture.h"

using TwipGeometry = std::array<double, 4>;
Q_DECLARE_METATYPE(TwipGeometry)

namespace {

using figures::geometryOf;
using figures::kMonthRows;
using figures::kTicks;

QColor colour(std::uint32_t rgb) {
    return QColor::fromRgb(QRgb(rgb));
}

QRect pixelsOf(const figures::Geometry& g) {
    return {figures::pixels(g[0]), figures::pixels(g[1]), figures::pixels(g[2]),
            figures::pixels(g[3])};
}

}  // namespace

// The window as built, checked against figures of the layout written out here once more, so a
// wrong twip conversion or a misplaced entry in the layout table shows.
class Form1LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = std::make_unique<WindowFixture>(); }
    void cleanup() { m_window.reset(); }

    void windowedControlsStandInPixels_data();
    void windowedControlsStandInPixels();
    void drawnControlsKeepTheirTwips_data();
    void drawnControlsKeepTheirTwips();
    void theLayoutHoldsEightyOneControlsWithUniqueNames();
    void theWindowHasAFixedClientAreaAndNoResizeButtons();
    void theMenuHoldsOnlyStampaWithoutShortcut();
    void startUpCollapsesTheBarsAndFillsTheList();
    void tabWalksTheMonthsSkippingTheResultAndTheDisabledButton();
    void tabReachesTheButtonOnceEnabled();
    void screenReadersGetNamesAndTexts();
    void screenReadersHearTheMeanAndTheChosenCount();
    void aBoxsTextAttributesRunOverItsWholeText_data();
    void aBoxsTextAttributesRunOverItsWholeText();
    void pixelsShowColoursStackingAndScale_data();
    void pixelsShowColoursStackingAndScale();
    void theInstructionWrapsItsColonOntoASecondLine();
    void theBlankLabelCoversTheWideMeanBar();
    void barsStaySharpAtAnyScale_data();
    void barsStaySharpAtAnyScale();

private:
    QWidget* focusAfterTab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    }

    std::unique_ptr<WindowFixture> m_window;
};

// Shown enabled or disabled as laid out: the result box's strip above the button stays greyed.
void Form1LayoutTest::windowedControlsStandInPixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("List1") << "List1" << pixelsOf(geometryOf("List1")) << true;
    QTest::newRow("Command1, until a count is picked")
        << "Command1" << pixelsOf(geometryOf("Command1")) << false;
    QTest::newRow("Text1, shown disabled") << "Text1" << pixelsOf(geometryOf("Text1")) << false;
    for (const figures::MonthRow& month : kMonthRows)
        QTest::addRow("%s (%s) at %g", month.box, month.caption, month.top)
            << month.box
            << pixelsOf({figures::kMonthBoxLeft, month.top, figures::kMonthBoxWidth,
                         figures::kMonthBoxHeight})
            << true;
}

void Form1LayoutTest::windowedControlsStandInPixels() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    auto* control = m_window->form->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->parentWidget(), &m_window->form->canvas());
    QTEST(control->isEnabled(), "enabled");
}

void Form1LayoutTest::drawnControlsKeepTheirTwips_data() {
    using G = TwipGeometry;
    QTest::addColumn<QString>("name");
    QTest::addColumn<G>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("instruction") << "Label15" << geometryOf("Label15")
                                 << "Seleziona il N° di  mesi da inserire  nella Media :";
    QTest::newRow("mean caption") << "Label1" << geometryOf("Label1") << "Media:";
    for (const char* name :
         {"Label14", "Line43", "Line1", "Line47", "Line48", "Shape1", "Shape2", "Shape3"})
        QTest::newRow(name) << name << geometryOf(name) << "";
    for (const figures::MonthRow& month : kMonthRows)
        QTest::addRow("%s label %s", month.caption, month.label)
            << month.label
            << G{figures::kMonthLabelLeft, month.top, month.labelWidth, figures::kMonthLabelHeight}
            << month.caption;
    for (const figures::Tick& tick : kTicks)
        QTest::addRow("tick %s at %g", tick.name, tick.x)
            << tick.name << G{tick.x, figures::kTickTop, tick.x, figures::kTickBottom} << "";
    // Start-up has brought every bar's top down onto its foot.
    for (const figures::MonthRow& month : kMonthRows)
        QTest::addRow("%s bar %s at %g", month.caption, month.bar, month.barX)
            << month.bar << G{month.barX, figures::kBarFootY, month.barX, figures::kBarFootY} << "";
}

void Form1LayoutTest::drawnControlsKeepTheirTwips() {
    QFETCH(QString, name);
    QFETCH(TwipGeometry, geometry);
    QFETCH(QString, caption);
    const DrawnControl& control = m_window->drawn(name);
    QCOMPARE(control.geometry, geometry);
    QCOMPARE(control.caption, caption);
}

void Form1LayoutTest::theLayoutHoldsEightyOneControlsWithUniqueNames() {
    QSet<QString> names;
    for (const auto& entry : form_layout::controls()) names.insert(form_layout::nameOf(entry));
    QCOMPARE(names.size(), 81);
    for (int n = 1; n <= 48; ++n) QVERIFY(names.contains(QStringLiteral("Line%1").arg(n)));
    for (int n = 1; n <= 15; ++n) QVERIFY(names.contains(QStringLiteral("Label%1").arg(n)));
    for (int n = 1; n <= 13; ++n) QVERIFY(names.contains(QStringLiteral("Text%1").arg(n)));
}

void Form1LayoutTest::theWindowHasAFixedClientAreaAndNoResizeButtons() {
    Form1& form = *m_window->form;
    const QSize client(figures::pixels(figures::kClientWidth),
                       figures::pixels(figures::kClientHeight));
    QCOMPARE(form.canvas().size(), client);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quilvane"));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.height(), client.height() + form.menuBar()->height());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    form.resize(800, 800);
    QCOMPARE(form.canvas().size(), client);
}

void Form1LayoutTest::theMenuHoldsOnlyStampaWithoutShortcut() {
    const QList<QAction*> menus = m_window->form->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first()->text(), QStringLiteral("Menù"));
    QCOMPARE(menus.first()->menu()->objectName(), QStringLiteral("mnuMenu"));
    const QList<QAction*> items = menus.first()->menu()->actions();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first()->objectName(), QStringLiteral("mnuStampa"));
    QCOMPARE(items.first()->text(), QStringLiteral("Stampa"));
    QVERIFY(items.first()->shortcut().isEmpty());
}

void Form1LayoutTest::startUpCollapsesTheBarsAndFillsTheList() {
    for (int month = 1; month <= 12; ++month) QCOMPARE(m_window->barTop(month), figures::kBarFootY);
    QListWidget* list = m_window->list();
    QCOMPARE(list->count(), 12);
    for (int row = 0; row < 12; ++row) QCOMPARE(list->item(row)->text(), QString::number(row + 1));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!m_window->button()->isEnabled());
    QCOMPARE(m_window->button()->text(), QStringLiteral("Calcola media:"));
    QCOMPARE(m_window->meanCaption(), QStringLiteral("Media:"));
    QCOMPARE(m_window->meanBarWidth(), geometryOf("Shape1")[2]);
    for (int box = 1; box <= 13; ++box) QVERIFY(m_window->box(box)->text().isEmpty());
    QVERIFY(m_window->desktop.messages.empty());
}

void Form1LayoutTest::tabWalksTheMonthsSkippingTheResultAndTheDisabledButton() {
    QCOMPARE(QApplication::focusWidget(), m_window->list());
    for (int box = 2; box <= 13; ++box) QCOMPARE(focusAfterTab(), m_window->box(box));
    QCOMPARE(focusAfterTab(), m_window->list());
}

void Form1LayoutTest::tabReachesTheButtonOnceEnabled() {
    m_window->pickCount(3);
    m_window->list()->setFocus();
    for (int box = 2; box <= 13; ++box) QCOMPARE(focusAfterTab(), m_window->box(box));
    QCOMPARE(focusAfterTab(), m_window->button());
    QCOMPARE(focusAfterTab(), m_window->list());
    // Hidden or shown, the result box takes neither the focus nor typing from a user who
    // clicks the strip of it left above the button, then types.
    QLineEdit* result = m_window->box(1);
    QTest::mouseClick(result, Qt::LeftButton, {}, QPoint(result->width() / 2, 3));
    QVERIFY(QApplication::focusWidget() != result);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
    QCOMPARE(result->text(), QString());
    QCOMPARE(result->focusPolicy(), Qt::NoFocus);
    // Nor from keys that reach it all the same, as a synthetic event would.
    QTest::keyClicks(result, QStringLiteral("12.5"));
    QCOMPARE(result->text(), QString());
}

void Form1LayoutTest::screenReadersGetNamesAndTexts() {
    auto accessibleName = [](QObject* object) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(QAccessible::Name) : QString();
    };
    QCOMPARE(accessibleName(m_window->box(2)), QStringLiteral("GENNAIO"));
    QCOMPARE(accessibleName(m_window->box(13)), QStringLiteral("DICEMBRE"));
    QCOMPARE(accessibleName(m_window->button()), QStringLiteral("Calcola media:"));
    QCOMPARE(accessibleName(m_window->list()),
             QStringLiteral("Seleziona il N° di mesi da inserire nella Media :"));

    QAccessibleInterface* canvas = QAccessible::queryAccessibleInterface(&m_window->form->canvas());
    QStringList labelTexts;
    for (int i = 0; i < canvas->childCount(); ++i) {
        QAccessibleInterface* child = canvas->child(i);
        if (child->role() == QAccessible::StaticText || child->role() == QAccessible::Notification)
            labelTexts << child->text(QAccessible::Name);
    }
    QVERIFY(labelTexts.contains(QStringLiteral("Media:")));
    QVERIFY(labelTexts.contains(QStringLiteral("GENNAIO")));
    QVERIFY(labelTexts.contains(QStringLiteral("DICEMBRE")));
    QVERIFY(
        labelTexts.contains(QStringLiteral("Seleziona il N° di  mesi da inserire  nella Media :")));
}

// Label1 is a notification, which Orca speaks as it changes; the button and the list keep what
// was last computed and chosen, for Where am I.
void Form1LayoutTest::screenReadersHearTheMeanAndTheChosenCount() {
    m_window->type(1, QStringLiteral("45"));
    m_window->pickCount(1);
    m_window->compute();
    QAccessibleInterface* canvas = QAccessible::queryAccessibleInterface(&m_window->form->canvas());
    QStringList notifications;
    for (int i = 0; i < canvas->childCount(); ++i)
        if (canvas->child(i)->role() == QAccessible::Notification)
            notifications << canvas->child(i)->text(QAccessible::Name);
    QCOMPARE(notifications, QStringList{m_window->meanCaption()});
    QVERIFY(m_window->meanCaption().endsWith(QStringLiteral(" = 45")));
    QCOMPARE(m_window->button()->accessibleDescription(), m_window->meanCaption());
    QCOMPARE(m_window->list()->accessibleDescription(), QStringLiteral("Mesi scelti: 1"));
}

// Orca reads a box's text by its attribute runs: an empty run cut the last character off. An
// assistive tool may edit a month box through the same interface, but never the mean in Text1.
void Form1LayoutTest::aBoxsTextAttributesRunOverItsWholeText_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("editable");
    QTest::newRow("January, 45, at its first digit") << 2 << "45" << 0 << 0 << 2 << true;
    QTest::newRow("January, 45, at its end") << 2 << "45" << 2 << 0 << 2 << true;
    QTest::newRow("an empty box") << 2 << "" << 0 << 0 << 0 << true;
    QTest::newRow("beyond the text") << 2 << "45" << 3 << -1 << -1 << true;
    QTest::newRow("the result box Media, out of every tool's reach")
        << 1 << "57,5" << 1 << 0 << 4 << false;
}

void Form1LayoutTest::aBoxsTextAttributesRunOverItsWholeText() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(bool, editable);
    QLineEdit* edited = m_window->box(box);
    edited->setText(text);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edited);
    QAccessibleTextInterface* face = accessible->textInterface();
    QVERIFY(face);
    int start = -2;
    int end = -2;
    face->attributes(offset, &start, &end);
    QTEST(start, "start");
    QTEST(end, "end");
    QCOMPARE(face->text(0, face->characterCount()), text);

    QAccessibleEditableTextInterface* editor = accessible->editableTextInterface();
    QVERIFY(editor);
    const QList<std::pair<const char*, std::function<void()>>> edits{
        {"insert", [&] { editor->insertText(0, QStringLiteral("9")); }},
        {"delete", [&] { editor->deleteText(0, 1); }},
        {"replace", [&] { editor->replaceText(0, 1, QStringLiteral("7")); }},
        {"set text", [&] { accessible->setText(QAccessible::Value, QStringLiteral("8")); }},
    };
    for (const auto& [name, edit] : edits) {
        const QString before = text.isEmpty() ? QStringLiteral("45") : text;
        edited->setText(before);
        edit();
        QVERIFY2((edited->text() != before) == editable, name);
    }
}

void Form1LayoutTest::pixelsShowColoursStackingAndScale_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor window = lightPalette().color(QPalette::Window);
    QTest::newRow("List1 is light orange") << QPoint(380, 20) << colour(figures::kList);
    QTest::newRow("Shape1 starts one pixel wide and yellow")
        << QPoint(8, 58) << colour(figures::kMeanBar);
    QTest::newRow("and ends after that pixel") << QPoint(9, 58) << window;
    QTest::newRow("Line48 is silver over the bars' feet")
        << QPoint(176, 400) << colour(figures::kBaseline);
    QTest::newRow("Shape2's light border lies over Shape3")
        << QPoint(160, 250) << colour(figures::kFrame);
    QTest::newRow("Shape3's grey border shows inside it")
        << QPoint(163, 250) << colour(figures::kOuterFrame);
    QTest::newRow("the hatch is dark green") << QPoint(250, 124) << colour(figures::kHatch);
    QTest::newRow("and transparent between its lines") << QPoint(250, 126) << window;
    QTest::newRow("Line1 is light grey over Line47")
        << QPoint(200, 104) << colour(figures::kLightSeparator);
    QTest::newRow("Line47 shows as a dark edge")
        << QPoint(200, 105) << colour(figures::kDarkSeparator);
    QTest::newRow("the ruler's ticks stand 8 pixels apart") << QPoint(256, 52) << QColor(0, 0, 0);
    QTest::newRow("with nothing between them") << QPoint(252, 52) << window;
}

void Form1LayoutTest::pixelsShowColoursStackingAndScale() {
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const QImage image = m_window->clientImage();
    QCOMPARE(image.size(), m_window->form->canvas().size());
    QCOMPARE(QColor(image.pixel(pixel)), colour);
}

// Label15 wraps at a blank within its box: its final colon stands alone on the second line,
// in the band between the first line and the foot of the box, left of List1.
void Form1LayoutTest::theInstructionWrapsItsColonOntoASecondLine() {
    const QImage image = m_window->clientImage();
    // Strongly red: maroon text, not the anti-aliased fringe of other colours.
    auto isMaroon = [](QRgb pixel) {
        return qRed(pixel) >= 96 && qGreen(pixel) < 48 && qBlue(pixel) < 48;
    };
    int colonPixels = 0;
    for (int y = 12; y < 28; ++y)
        for (int x = 176; x < 296; ++x)
            if (isMaroon(image.pixel(x, y))) {
                // The colon is the second line's only glyph: nothing further right.
                QVERIFY2(x < 182, qPrintable(QStringLiteral("maroon at %1,%2").arg(x).arg(y)));
                ++colonPixels;
            }
    QVERIFY2(colonPixels >= 2, "no colon on Label15's second line");
}

void Form1LayoutTest::theBlankLabelCoversTheWideMeanBar() {
    m_window->type(1, QStringLiteral("250"));
    m_window->pickCount(1);
    m_window->compute();
    QCOMPARE(m_window->meanBarWidth(), 250 * figures::kTwipsPerUnit);
    const QImage image = m_window->clientImage();
    const QColor yellow = colour(figures::kMeanBar);
    QCOMPARE(QColor(image.pixel(240, 58)), yellow);  // above the label the bar shows
    QCOMPARE(QColor(image.pixel(252, 58)), yellow);
    QCOMPARE(QColor(image.pixel(252, 79)), lightPalette().color(QPalette::Window));
    QCOMPARE(QColor(image.pixel(240, 79)), yellow);  // Label1's background lets it show through
}

void Form1LayoutTest::barsStaySharpAtAnyScale_data() {
    QTest::addColumn<qreal>("scale");
    for (qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) QTest::addRow("at %g", scale) << scale;
}

void Form1LayoutTest::barsStaySharpAtAnyScale() {
    QFETCH(qreal, scale);
    m_window->type(1, QStringLiteral("45"));
    FormCanvas& canvas = m_window->form->canvas();
    QImage image((QSizeF(canvas.size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    canvas.render(&painter);
    painter.end();

    // Across January's bar, between two hatch lines, only the bar's green and the background:
    // no blended edge pixels.
    const QColor window = lightPalette().color(QPalette::Window);
    const int y = int(361 * scale);
    const QColor bar = colour(figures::kBar);
    int barPixels = 0;
    for (int x = int(168 * scale); x < int(186 * scale); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        QVERIFY2(pixel == bar || pixel == window,
                 qPrintable(QStringLiteral("blended pixel %1 at x=%2").arg(pixel.name()).arg(x)));
        barPixels += pixel == bar;
    }
    QVERIFY(qAbs(barPixels - figures::kBarWidthPx * scale) <= 1);
}

QUILVANE_TEST_MAIN(Form1LayoutTest)
#include "Form1LayoutTest.moc"
