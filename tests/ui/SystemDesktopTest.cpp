#include <QTest>
#include <ctime>

#include "OneTestOfMany.h"
#include "SystemDesktop.h"

// The regional format comes from the user's settings; the test runs under LC_ALL=it_IT.UTF-8.
class SystemDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void anItalianUserGetsTheCommaAndThePoint() {
        SystemDesktop desktop;
        const quilvane::NumberFormat format = desktop.numberFormat();
        QCOMPARE(char16_t(format.decimalSeparator), u',');
        QCOMPARE(char16_t(format.groupSeparator), u'.');
    }

    // Read from the C library's local calendar, not through Qt as the product does. One thread:
    // std::localtime's shared result is copied at once.
    void theYearIsTodays() {
        const std::time_t now = std::time(nullptr);
        QVERIFY(std::localtime(&now));
        const std::tm local = *std::localtime(&now);
        const int year = SystemDesktop().currentYear();
        const std::time_t after = std::time(nullptr);
        QVERIFY(std::localtime(&after));
        const std::tm localAfter = *std::localtime(&after);
        // A new year may begin between the two readings.
        QVERIFY2(year == 1900 + local.tm_year || year == 1900 + localAfter.tm_year,
                 qPrintable(QString::number(year)));
    }
};

QUILVANE_TEST_MAIN(SystemDesktopTest)
#include "SystemDesktopTest.moc"
