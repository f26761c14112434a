#include <algorithm>

#include "OneTestOfMany.h"
#include "WindowFigures.h"
#include "WindowFixture.h"

namespace {

const QString kReminderEnd = QStringLiteral(
    "di mesi. Ricordati che il numero selezionato deve coincidere con il numero dei mesi che si "
    "andrà a sottoporre al calcolo della Media.   (altrimenti si ha un calcolo errato)");

QString sentence(const QString& mean) {
    return QStringLiteral("N°di Wolf Medio dell'anno corrente 2024 = ") + mean;
}

// The mean bar's width as the window keeps it, in single precision.
double barWidth(double mean) {
    return double(float(mean * figures::kTwipsPerUnit));
}

const QColor kMeanBarColour = QColor::fromRgb(QRgb(figures::kMeanBar));

}  // namespace

class MeanTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = std::make_unique<WindowFixture>(); }
    void cleanup() { m_window.reset(); }

    void pickingACountEnablesTheButtonAndReminds();
    void everyPickRemindsOnceWithItsCount();
    void theFirstDownSelectsOneAndEachStepRemindsOnce();
    void theFirstKeyOnAFreshListPicksItsRowOnce_data();
    void theFirstKeyOnAFreshListPicksItsRowOnce();
    void theSelectionCannotBeClearedAgain();

    void theMeanIsShownThreeWays_data();
    void theMeanIsShownThreeWays();
    void theResultBoxTurnsDarkRedAtTenPoints();
    void theSentenceNamesTheDesktopsYear();
    void twoClicksGiveTheSameDisplayAndTwoBeeps();
    void aSumBeyondAnyDoubleWarnsAndChangesNothing_data();
    void aSumBeyondAnyDoubleWarnsAndChangesNothing();
    void theMeanBarAndSentenceAreDrawn();

private:
    void fill(const QStringList& months) {
        for (int month = 1; month <= months.size(); ++month)
            m_window->box(month + 1)->setText(months[month - 1]);
    }

    std::unique_ptr<WindowFixture> m_window;
};

void MeanTest::pickingACountEnablesTheButtonAndReminds() {
    m_window->pickCount(6);
    QVERIFY(m_window->button()->isEnabled());
    QCOMPARE(m_window->desktop.messages.size(), size_t(1));
    const auto& message = m_window->desktop.messages.front();
    QCOMPARE(message.prompt, QStringLiteral("Bene, hai scelto 6 ") + kReminderEnd);
    QCOMPARE(message.style, MessageStyle::OkOnly);
    QCOMPARE(message.title, QStringLiteral("Quilvane"));
}

void MeanTest::everyPickRemindsOnceWithItsCount() {
    m_window->pickCount(6);
    m_window->pickCount(2);
    m_window->pickCount(2);  // the item already selected
    const auto& messages = m_window->desktop.messages;
    QCOMPARE(messages.size(), size_t(3));
    QCOMPARE(messages[1].prompt, QStringLiteral("Bene, hai scelto 2 ") + kReminderEnd);
    QCOMPARE(messages[2].prompt, QStringLiteral("Bene, hai scelto 2 ") + kReminderEnd);
    QVERIFY(m_window->button()->isEnabled());
}

void MeanTest::theFirstDownSelectsOneAndEachStepRemindsOnce() {
    QListWidget* list = m_window->list();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->selectedItems().value(0)->text(), QStringLiteral("1"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
    const auto& messages = m_window->desktop.messages;
    QCOMPARE(messages.size(), size_t(4));
    const QStringList counts = {"1", "2", "3", "2"};
    for (size_t i = 0; i < messages.size(); ++i)
        QCOMPARE(messages[i].prompt,
                 QStringLiteral("Bene, hai scelto %1 ").arg(counts[qsizetype(i)]) + kReminderEnd);
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Down);  // nowhere to go: no pick, no reminder
    QCOMPARE(messages.size(), size_t(5));
    QCOMPARE(messages.back().prompt, QStringLiteral("Bene, hai scelto 12 ") + kReminderEnd);
}

void MeanTest::theFirstKeyOnAFreshListPicksItsRowOnce_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("count");
    QTest::newRow("End") << Qt::Key_End << "12";
    QTest::newRow("Home") << Qt::Key_Home << "1";
    QTest::newRow("Page Down") << Qt::Key_PageDown << "5";
}

void MeanTest::theFirstKeyOnAFreshListPicksItsRowOnce() {
    QFETCH(Qt::Key, key);
    QFETCH(QString, count);
    QListWidget* list = m_window->list();
    list->setFocus();
    QTest::keyClick(list, key);
    QCOMPARE(list->selectedItems().value(0)->text(), count);
    const auto& messages = m_window->desktop.messages;
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages.front().prompt,
             QStringLiteral("Bene, hai scelto %1 ").arg(count) + kReminderEnd);
}

void MeanTest::theSelectionCannotBeClearedAgain() {
    m_window->pickCount(4);
    QListWidget* list = m_window->list();
    const QRect rect = list->visualItemRect(list->item(3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    QCOMPARE(list->selectedItems().size(), 1);
    QVERIFY(m_window->button()->isEnabled());
}

void MeanTest::theMeanIsShownThreeWays_data() {
    QTest::addColumn<QStringList>("months");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("barWidth");

    QTest::newRow("three months of 10, 20 and 33 make 21")
        << QStringList{"10", "20", "33"} << 3 << "21" << barWidth(21);
    QTest::newRow("all boxes empty make 0") << QStringList{} << 5 << "0" << barWidth(0);
    QTest::newRow("twelve months over six add all twelve")
        << QStringList{"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "110", "120"}
        << 6 << "130" << barWidth(130);
    QTest::newRow("a typed decimal counts in full")
        << QStringList{"12,5", "7"} << 2 << "9,75" << barWidth(9.75);
    QTest::newRow("a third is written with fifteen digits")
        << QStringList{"1"} << 3 << "0,333333333333333" << barWidth(0.333333333333333);
    QTest::newRow("a box that is no number counts its leading digits")
        << QStringList{"4abc", ","} << 1 << "4" << barWidth(4);
    QTest::newRow("a negative mean has no bar") << QStringList{"-50"} << 1 << "-50" << 0.0;
    QTest::newRow("a huge mean runs the bar off the window")
        << QStringList{"99999999999"} << 1 << "99999999999" << 1.0e6;
}

void MeanTest::theMeanIsShownThreeWays() {
    QFETCH(QStringList, months);
    QFETCH(int, count);
    QFETCH(QString, text);
    QFETCH(double, barWidth);
    fill(months);
    m_window->pickCount(count);
    m_window->compute();
    QCOMPARE(m_window->box(1)->text(), text);
    QCOMPARE(m_window->meanBarWidth(), barWidth);
    QCOMPARE(m_window->meanCaption(), sentence(text));
    QCOMPARE(m_window->desktop.beeps, 1);
}

void MeanTest::theResultBoxTurnsDarkRedAtTenPoints() {
    QLineEdit* result = m_window->box(1);
    QCOMPARE(result->palette().color(QPalette::Text), QColor::fromRgb(QRgb(figures::kResultText)));
    m_window->pickCount(1);
    m_window->compute();
    const QColor computed = QColor::fromRgb(QRgb(figures::kResultComputed));
    QCOMPARE(result->palette().color(QPalette::Disabled, QPalette::Text), computed);
    QCOMPARE(result->palette().color(QPalette::Active, QPalette::Text), computed);
    QCOMPARE(result->font().pointSizeF(), 10.0);
}

// The year comes from the clock at each click, not from the day the window was built.
void MeanTest::theSentenceNamesTheDesktopsYear() {
    fill({"10", "20", "33"});
    m_window->pickCount(3);
    m_window->desktop.year = 1987;
    m_window->compute();
    QCOMPARE(m_window->meanCaption(),
             QStringLiteral("N°di Wolf Medio dell'anno corrente 1987 = 21"));
}

void MeanTest::twoClicksGiveTheSameDisplayAndTwoBeeps() {
    fill({"10", "20", "33"});
    m_window->pickCount(3);
    m_window->compute();
    const QImage first = m_window->clientImage();
    m_window->compute();
    QCOMPARE(m_window->desktop.beeps, 2);
    QCOMPARE(m_window->box(1)->text(), QStringLiteral("21"));
    QCOMPARE(m_window->clientImage(), first);
}

void MeanTest::aSumBeyondAnyDoubleWarnsAndChangesNothing_data() {
    QTest::addColumn<QString>("pasted");
    QTest::newRow("310 nines") << QString(310, QLatin1Char('9'));
    // Not the «1» before its comma.
    QTest::newRow("a decimal with an exponent too large") << QStringLiteral("1,5E400");
}

void MeanTest::aSumBeyondAnyDoubleWarnsAndChangesNothing() {
    QFETCH(QString, pasted);
    fill({"5"});
    m_window->pickCount(1);
    m_window->compute();
    m_window->desktop.messages.clear();
    fill({pasted});
    m_window->compute();
    QCOMPARE(m_window->box(1)->text(), QStringLiteral("5"));
    QCOMPARE(m_window->meanBarWidth(), barWidth(5));
    QCOMPARE(m_window->meanCaption(), sentence("5"));
    QCOMPARE(m_window->desktop.beeps, 1);
    QCOMPARE(m_window->desktop.messages.size(), size_t(1));
    QCOMPARE(m_window->desktop.messages.front().style, MessageStyle::Warning);
    QCOMPARE(m_window->desktop.messages.front().title, QStringLiteral("Quilvane"));
    QVERIFY(m_window->desktop.messages.front().prompt.contains(QStringLiteral("troppo grandi")));
}

void MeanTest::theMeanBarAndSentenceAreDrawn() {
    fill({"10", "20", "33"});
    m_window->pickCount(3);
    m_window->compute();
    const QImage image = m_window->clientImage();
    const QColor yellow = kMeanBarColour;
    // 315 twips wide from x = 120: pixels 8 to 28.
    QCOMPARE(QColor(image.pixel(8, 58)), yellow);
    QCOMPARE(QColor(image.pixel(28, 58)), yellow);
    QVERIFY(QColor(image.pixel(29, 58)) != yellow);
    // The sentence, navy, ends before the blank label at x = 248: plenty of navy text on its
    // first line, and its last glyph followed by blank columns, not cut off by the label.
    auto isNavy = [](QRgb pixel) { return qBlue(pixel) > 100 && qRed(pixel) < 60; };
    int navyPixels = 0;
    int rightmost = -1;
    for (int y = 64; y < 78; ++y)
        for (int x = 8; x < 248; ++x)
            if (isNavy(image.pixel(x, y))) {
                ++navyPixels;
                rightmost = std::max(rightmost, x);
            }
    QVERIFY(navyPixels > 100);
    QVERIFY2(rightmost < 244, qPrintable(QStringLiteral("navy text up to x = %1").arg(rightmost)));
}

QUILVANE_TEST_MAIN(MeanTest)
#include "MeanTest.moc"
