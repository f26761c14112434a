#include <QClipboard>
#include <QGuiApplication>
#include <QPaintEvent>
#include <functional>

#include "OneTestOfMany.h"
#include "WindowFigures.h"
#include "WindowFixture.h"

namespace {

// One user action on a month box.
using Action = std::function<void(QLineEdit*)>;

Action keys(const QString& text) {
    return [text](QLineEdit* box) { QTest::keyClicks(box, text); };
}

Action key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [k, modifiers](QLineEdit* box) { QTest::keyClick(box, k, modifiers); };
}

// A key that types a character the keyboard maps to no Qt key, as an input method may.
Action character(const QString& text) {
    return [text](QLineEdit* box) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    };
}

// A key as X11 delivers it, with the text it carries; QTest on the offscreen platform sends
// none for editing keys.
Action x11Key(Qt::Key k, const QString& text) {
    return [k, text](QLineEdit* box) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    };
}

Action paste(const QString& text) {
    return [text](QLineEdit* box) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    };
}

Action sequence(std::initializer_list<Action> actions) {
    std::vector<Action> all(actions);
    return [all](QLineEdit* box) {
        for (const Action& action : all) action(box);
    };
}

// Repaints of the client area while something happens.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* watched) { watched->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

using figures::barTop;

}  // namespace

Q_DECLARE_METATYPE(Action)

class MonthEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_window = std::make_unique<WindowFixture>();
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    }
    void cleanup() { m_window.reset(); }

    void typingFiltersAndMovesTheBar_data();
    void typingFiltersAndMovesTheBar();
    void textThatIsNoNumberLeavesTheBar_data();
    void textThatIsNoNumberLeavesTheBar();
    void everyBoxDrivesItsOwnBar();
    void aKeystrokeRepaintsOnlyItsBar();
    void theBarIsDrawnInItsColourAtItsHeight_data();
    void theBarIsDrawnInItsColourAtItsHeight();

private:
    std::unique_ptr<WindowFixture> m_window;
};

void MonthEntryTest::typingFiltersAndMovesTheBar_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("barTop");

    QTest::newRow("a point typed in 12.5 becomes a comma")
        << keys("12.5") << "12,5" << barTop(12.5);
    QTest::newRow("0 leaves a stub above the foot") << keys("0") << "0" << barTop(0);
    QTest::newRow("392 reaches the window's top") << keys("392") << "392" << barTop(392);
    QTest::newRow("a letter becomes a comma") << keys("4a") << "4," << barTop(4);
    QTest::newRow("a space becomes a comma") << keys("1 2") << "1,2" << barTop(1.2);
    QTest::newRow("Enter adds a comma")
        << sequence({keys("7"), key(Qt::Key_Return)}) << "7," << barTop(7);
    QTest::newRow("Escape adds a comma")
        << sequence({keys("7"), key(Qt::Key_Escape)}) << "7," << barTop(7);
    QTest::newRow("Ctrl+V adds a comma, not the clipboard")
        << sequence({keys("5"), key(Qt::Key_V, Qt::ControlModifier)}) << "5," << barTop(5);
    QTest::newRow("Ctrl+C adds a comma")
        << sequence({keys("5"), key(Qt::Key_C, Qt::ControlModifier)}) << "5," << barTop(5);
    QTest::newRow("Ctrl+A adds a comma instead of selecting")
        << sequence({keys("5"), key(Qt::Key_A, Qt::ControlModifier), keys("1")}) << "5,1"
        << barTop(5.1);
    QTest::newRow("Ctrl+H acts as Backspace")
        << sequence({keys("45"), key(Qt::Key_H, Qt::ControlModifier)}) << "4" << barTop(4);
    QTest::newRow("Backspace deletes")
        << sequence({keys("45"), key(Qt::Key_Backspace)}) << "4" << barTop(4);
    QTest::newRow("Delete deletes forward")
        << sequence({keys("45"), key(Qt::Key_Home), key(Qt::Key_Delete)}) << "5" << barTop(5);
    QTest::newRow("Delete as X11 sends it, carrying \\x7f, deletes forward and types nothing")
        << sequence({keys("45"), key(Qt::Key_Home), x11Key(Qt::Key_Delete, QStringLiteral("\x7f"))})
        << "5" << barTop(5);
    QTest::newRow("arrows move the cursor")
        << sequence({keys("45"), key(Qt::Key_Left), keys("3")}) << "435" << barTop(435);
    QTest::newRow("Shift+Insert pastes unfiltered") << paste("-3") << "-3" << barTop(-3);
    QTest::newRow("a pasted value joins the typed ones")
        << sequence({keys("1"), paste("2,5")}) << "12,5" << barTop(12.5);
    QTest::newRow("an accented letter becomes a comma")
        << sequence({keys("8"), character("é")}) << "8," << barTop(8);
    QTest::newRow("an Arabic-Indic digit is no digit here")
        << sequence({keys("8"), character(QStringLiteral("\u0663"))}) << "8," << barTop(8);
    QTest::newRow("a character beyond 16 bits becomes one comma")
        << sequence({keys("8"), character(QStringLiteral("\U0001F600"))}) << "8," << barTop(8);
    QTest::newRow("a huge value runs off the window's top and stops there")
        << paste("99999999999") << "99999999999" << -1.0e6;
    QTest::newRow("a huge negative value runs off the bottom")
        << paste("-99999999999") << "-99999999999" << 1.0e6;
}

void MonthEntryTest::typingFiltersAndMovesTheBar() {
    QFETCH(Action, action);
    QFETCH(QString, text);
    QFETCH(double, barTop);
    QLineEdit* january = m_window->box(2);
    january->setFocus();
    action(january);
    QCOMPARE(january->text(), text);
    QCOMPARE(m_window->barTop(1), barTop);
}

void MonthEntryTest::textThatIsNoNumberLeavesTheBar_data() {
    QTest::addColumn<Action>("action");
    const Action selectAll = sequence({key(Qt::Key_Home), key(Qt::Key_End, Qt::ShiftModifier)});
    QTest::newRow("deleting every character") << sequence({selectAll, key(Qt::Key_Delete)});
    QTest::newRow("a lone comma typed over the value") << sequence({selectAll, keys(",")});
    QTest::newRow("two commas in a row") << keys(",,2");
    QTest::newRow("pasted letters") << paste("abc");
    QTest::newRow("a pasted number beyond any double") << paste(QString(400, QLatin1Char('9')));
    QTest::newRow("pasted NaN") << paste("NaN");
    QTest::newRow("pasted inf") << paste("inf");
}

void MonthEntryTest::textThatIsNoNumberLeavesTheBar() {
    QFETCH(Action, action);
    QLineEdit* march = m_window->box(4);
    march->setFocus();
    QTest::keyClicks(march, "10");
    QCOMPARE(m_window->barTop(3), barTop(10));
    action(march);
    QCOMPARE(m_window->barTop(3), barTop(10));
}

void MonthEntryTest::everyBoxDrivesItsOwnBar() {
    for (int month = 1; month <= 12; ++month) {
        m_window->type(month, QString::number(month * 10));
        for (int other = 1; other <= 12; ++other)
            QCOMPARE(m_window->barTop(other),
                     other <= month ? barTop(10 * other) : figures::kBarFootY);
    }
}

void MonthEntryTest::aKeystrokeRepaintsOnlyItsBar() {
    QLineEdit* may = m_window->box(6);
    may->setFocus();
    QTest::keyClicks(may, "2");
    QCoreApplication::processEvents();
    PaintRecorder recorder(&m_window->form->canvas());
    QTest::keyClicks(may, "5");
    QVERIFY(QTest::qWaitFor([&] { return !recorder.painted.isEmpty(); }));
    // May's bar stands at x = 3600 twips, 240 pixels, five pixels wide; the box itself repaints
    // too, and the client area beneath it, since a frame is not opaque.
    const QRect bounds = (recorder.painted - may->geometry()).boundingRect();
    QVERIFY2(bounds.left() >= 237 && bounds.right() <= 243,
             qPrintable(QStringLiteral("repainted %1,%2 %3x%4")
                            .arg(bounds.x())
                            .arg(bounds.y())
                            .arg(bounds.width())
                            .arg(bounds.height())));
}

void MonthEntryTest::theBarIsDrawnInItsColourAtItsHeight_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("centre");  // the bar's x in pixels
    for (int month = 1; month <= 12; ++month) {
        const figures::MonthRow& row = figures::kMonthRows[month - 1];
        QTest::addRow("%s's bar stands at x = %g", row.caption, row.barX)
            << month << figures::pixels(row.barX);
    }
}

void MonthEntryTest::theBarIsDrawnInItsColourAtItsHeight() {
    QFETCH(int, month);
    QFETCH(int, centre);
    m_window->type(month, QStringLiteral("45"));
    const int top = figures::pixels(barTop(45));
    const int below = top + 14;  // between two lines of the hatch
    const QImage image = m_window->clientImage();
    const QColor bar = QColor::fromRgb(QRgb(figures::kBar));
    const int half = figures::kBarWidthPx / 2;
    for (int x = centre - half; x <= centre + half; ++x)
        QCOMPARE(QColor(image.pixel(x, below)), bar);
    QVERIFY(QColor(image.pixel(centre - half - 1, below)) != bar);
    QVERIFY(QColor(image.pixel(centre + half + 1, below)) != bar);
    QCOMPARE(QColor(image.pixel(centre, top)), bar);
    QVERIFY(QColor(image.pixel(centre, top - 2)) != bar);
}

QUILVANE_TEST_MAIN(MonthEntryTest)
#include "MonthEntryTest.moc"
