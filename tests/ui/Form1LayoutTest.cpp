#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "FormLayout.h"
#include "WindowFixture.h"

using TwipGeometry = std::array<double, 4>;
Q_DECLARE_METATYPE(TwipGeometry)

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
    void pixelsShowColoursStackingAndScale_data();
    void pixelsShowColoursStackingAndScale();
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

void Form1LayoutTest::windowedControlsStandInPixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("List1 at 4440,240 1575x1035") << "List1" << QRect(296, 16, 105, 69);
    QTest::newRow("Command1 at 120,240 1455x375") << "Command1" << QRect(8, 16, 97, 25);
    QTest::newRow("Text1 at 120,120 975x375") << "Text1" << QRect(8, 8, 65, 25);
    QTest::newRow("Text2 (January) at 1440,1800") << "Text2" << QRect(96, 120, 49, 19);
    QTest::newRow("Text7 (June) at 1440,3600") << "Text7" << QRect(96, 240, 49, 19);
    QTest::newRow("Text13 (December) at 1440,5760") << "Text13" << QRect(96, 384, 49, 19);
}

void Form1LayoutTest::windowedControlsStandInPixels() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    auto* control = m_window->form->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->parentWidget(), &m_window->form->canvas());
}

void Form1LayoutTest::drawnControlsKeepTheirTwips_data() {
    using G = TwipGeometry;
    QTest::addColumn<QString>("name");
    QTest::addColumn<G>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("instruction") << "Label15" << G{2640, 0, 3495, 615}
                                 << "Seleziona il N° di  mesi da inserire  nella Media :";
    QTest::newRow("mean caption") << "Label1" << G{120, 960, 4815, 735} << "Media:";
    QTest::newRow("blank label") << "Label14" << G{3720, 960, 1095, 255} << "";
    QTest::newRow("January label") << "Label2" << G{360, 1800, 855, 255} << "GENNAIO";
    QTest::newRow("September label") << "Label10" << G{360, 4680, 1095, 255} << "SETTEMBRE";
    QTest::newRow("October label") << "Label11" << G{360, 5040, 975, 255} << "OTTOBRE";
    QTest::newRow("ruler axis") << "Line43" << G{120, 720, 3840, 720} << "";
    QTest::newRow("first tick") << "Line14" << G{120, 720, 120, 840} << "";
    QTest::newRow("Line42 before Line41") << "Line42" << G{3360, 720, 3360, 840} << "";
    QTest::newRow("Line41 after Line42") << "Line41" << G{3480, 720, 3480, 840} << "";
    QTest::newRow("last tick") << "Line45" << G{3840, 720, 3840, 840} << "";
    QTest::newRow("light separator") << "Line1" << G{120, 1560, 6000, 1560} << "";
    QTest::newRow("dark separator") << "Line47" << G{120, 1560, 6000, 1560} << "";
    QTest::newRow("January bar") << "Line2" << G{2640, 6000, 2640, 6000} << "";
    QTest::newRow("December bar") << "Line13" << G{5280, 6000, 5280, 6000} << "";
    QTest::newRow("baseline") << "Line48" << G{2520, 6000, 5400, 6000} << "";
    QTest::newRow("mean bar") << "Shape1" << G{120, 840, 15, 375} << "";
    QTest::newRow("hatched frame") << "Shape2" << G{2400, 1800, 3135, 4335} << "";
    QTest::newRow("grey frame") << "Shape3" << G{2400, 1800, 3135, 4335} << "";
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
    QCOMPARE(form.canvas().size(), QSize(411, 415));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quilvane"));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.height(), 415 + form.menuBar()->height());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    form.resize(800, 800);
    QCOMPARE(form.canvas().size(), QSize(411, 415));
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
    for (int month = 1; month <= 12; ++month) QCOMPARE(m_window->barTop(month), 6000.0);
    QListWidget* list = m_window->list();
    QCOMPARE(list->count(), 12);
    for (int row = 0; row < 12; ++row) QCOMPARE(list->item(row)->text(), QString::number(row + 1));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!m_window->button()->isEnabled());
    QCOMPARE(m_window->button()->text(), QStringLiteral("Calcola media:"));
    QCOMPARE(m_window->meanCaption(), QStringLiteral("Media:"));
    QCOMPARE(m_window->meanBarWidth(), 15.0);
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
        if (child->role() == QAccessible::StaticText) labelTexts << child->text(QAccessible::Name);
    }
    QVERIFY(labelTexts.contains(QStringLiteral("Media:")));
    QVERIFY(labelTexts.contains(QStringLiteral("GENNAIO")));
    QVERIFY(labelTexts.contains(QStringLiteral("DICEMBRE")));
    QVERIFY(
        labelTexts.contains(QStringLiteral("Seleziona il N° di  mesi da inserire  nella Media :")));
}

void Form1LayoutTest::pixelsShowColoursStackingAndScale_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor window = QApplication::palette().color(QPalette::Window);
    QTest::newRow("List1 is light orange") << QPoint(380, 20) << QColor(0xFF, 0xE0, 0xC0);
    QTest::newRow("Shape1 starts one pixel wide and yellow")
        << QPoint(8, 58) << QColor(0xFF, 0xFF, 0x80);
    QTest::newRow("and ends after that pixel") << QPoint(9, 58) << window;
    QTest::newRow("Line48 is silver over the bars' feet")
        << QPoint(176, 400) << QColor(0xC0, 0xC0, 0xC0);
    QTest::newRow("Shape2's light border lies over Shape3")
        << QPoint(160, 250) << QColor(0xE0, 0xE0, 0xE0);
    QTest::newRow("Shape3's grey border shows inside it")
        << QPoint(163, 250) << QColor(0x80, 0x80, 0x80);
    QTest::newRow("the hatch is dark green") << QPoint(250, 124) << QColor(0x00, 0x40, 0x00);
    QTest::newRow("and transparent between its lines") << QPoint(250, 126) << window;
    QTest::newRow("Line1 is light grey over Line47")
        << QPoint(200, 104) << QColor(0xE0, 0xE0, 0xE0);
    QTest::newRow("Line47 shows as a dark edge") << QPoint(200, 105) << QColor(0, 0, 0);
    QTest::newRow("the ruler's ticks stand 8 pixels apart") << QPoint(256, 52) << QColor(0, 0, 0);
    QTest::newRow("with nothing between them") << QPoint(252, 52) << window;
}

void Form1LayoutTest::pixelsShowColoursStackingAndScale() {
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const QImage image = m_window->clientImage();
    QCOMPARE(image.size(), QSize(411, 415));
    QCOMPARE(QColor(image.pixel(pixel)), colour);
}

void Form1LayoutTest::theBlankLabelCoversTheWideMeanBar() {
    m_window->type(1, QStringLiteral("250"));
    m_window->pickCount(1);
    m_window->compute();
    QCOMPARE(m_window->meanBarWidth(), 3750.0);
    const QImage image = m_window->clientImage();
    const QColor yellow(0xFF, 0xFF, 0x80);
    QCOMPARE(QColor(image.pixel(240, 58)), yellow);  // above the label the bar shows
    QCOMPARE(QColor(image.pixel(252, 58)), yellow);
    QCOMPARE(QColor(image.pixel(252, 79)), QApplication::palette().color(QPalette::Window));
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
    const QColor window = QApplication::palette().color(QPalette::Window);
    const int y = int(361 * scale);
    int greenPixels = 0;
    for (int x = int(168 * scale); x < int(186 * scale); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        QVERIFY2(pixel == QColor(0, 255, 0) || pixel == window,
                 qPrintable(QStringLiteral("blended pixel %1 at x=%2").arg(pixel.name()).arg(x)));
        greenPixels += pixel == QColor(0, 255, 0);
    }
    QVERIFY(qAbs(greenPixels - 5 * scale) <= 1);
}

QTEST_MAIN(Form1LayoutTest)
#include "Form1LayoutTest.moc"
