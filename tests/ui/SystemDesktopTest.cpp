#include <QTest>

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

    void theYearIsTodays() { QCOMPARE(SystemDesktop().currentYear(), QDate::currentDate().year()); }
};

QTEST_MAIN(SystemDesktopTest)
#include "SystemDesktopTest.moc"
