// The real window printing through the real print server: "Stampa" puts the chart and the mean
// on paper, and when printing fails the window says so once and goes on working.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <memory>

#include "DrawnControl.h"
#include "Form1.h"
#include "FormCanvas.h"
#include "PageImage.h"
#include "PdfFile.h"
#include "PrintFixture.h"
#include "PrintedPdfs.h"
#include "PrinterTrouble.h"
#include "PrintingDesktop.h"
#include "SheetProbe.h"
#include "Twips.h"
#include "WindowFigures.h"
#include "WindowFixture.h"

Q_DECLARE_METATYPE(PrinterTrouble::Kind)

namespace {

using namespace std::chrono_literals;

constexpr int kMonths = 12;
constexpr int kDpi = 150;
const QColor kBarColour = QColor::fromRgb(QRgb(figures::kBar));
const QColor kMeanYellow = QColor::fromRgb(QRgb(figures::kMeanBar));
constexpr int kBarWidth = figures::kBarWidthPx;

// The window on a desktop that prints for real.
struct Window : BasicWindowFixture<PrintingDesktop> {
    // A month's bar, in the client area's logical pixels.
    QRectF bar(int month) const {
        const auto& g = drawn(QStringLiteral("Line%1").arg(month + 1)).geometry;
        const double top = std::min(g[1], g[3]);
        const double foot = std::max(g[1], g[3]);
        return {twips::toPixels(g[0]) - kBarWidth / 2.0, twips::toPixels(top), double(kBarWidth),
                twips::toPixels(foot - top)};
    }

    QRectF meanBar() const {
        const auto& g = drawn(QStringLiteral("Shape1")).geometry;
        return twips::toPixels(g[0], g[1], g[2], g[3]);
    }

    // January 10, February 20 ... December 120, all twelve months counted: the mean is 65.
    void enterAYear() const {
        for (int month = 1; month <= kMonths; ++month) type(month, QString::number(10 * month));
        pickCount(kMonths);
        compute();
    }
};

QString outputFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("printed"));
}

}  // namespace

class FormPrintTest : public QObject {
    Q_OBJECT

private slots:
    void printsTheBarsAndTheMeanFromTheMenu();
    void saysOnceThatPrintingFailedAndKeepsWorking_data();
    void saysOnceThatPrintingFailedAndKeepsWorking();
};

void FormPrintTest::printsTheBarsAndTheMeanFromTheMenu() {
    Window window;
    window.enterAYear();
    QCOMPARE(window.mean(), QStringLiteral("65"));
    window.desktop.messages.clear();

    PrintedPdfs printed;
    window.print();
    QVERIFY(window.desktop.messages.empty());

    const QStringList pdfs = PrintedPdfs::moveInto(printed.waitForQueueToEmpty(), outputFolder());
    QVERIFY2(printed.queueEmptied(), "the job never left the queue");
    QCOMPARE(pdfs.size(), 1);
    const PdfFile pdf(pdfs.front());
    QCOMPARE(pdf.pageCount(), 1);
    const QImage sheet = pdf.render(kDpi, QDir(outputFolder()).filePath(QStringLiteral("window")));
    QVERIFY(!sheet.isNull());
    const SheetProbe probe(sheet, kDpi);

    // The chart frame's hatching lies over the bars: most of each bar still shows.
    for (int month = 1; month <= kMonths; ++month) {
        const QRectF bar = window.bar(month);
        QVERIFY2(bar.height() >= 10 * month - 1, qPrintable(QStringLiteral("month %1").arg(month)));
        const double x = bar.center().x();
        const double shown = probe.verticalCoverage(QPointF(x, bar.top() + 1),
                                                    QPointF(x, bar.bottom() - 1), kBarColour);
        QVERIFY2(
            shown > 0.5,
            qPrintable(QStringLiteral("month %1's bar is %2% in its colour").arg(month).arg(shown * 100)));
        QVERIFY2(probe.verticalCoverage(QPointF(x, bar.top() - 12), QPointF(x, bar.top() - 2),
                                        kBarColour) == 0,
                 qPrintable(QStringLiteral("month %1's bar runs too high").arg(month)));
    }
    // Label1's sentence lies over the mean bar: measured along its top, above the text.
    const QRectF meanBar = window.meanBar();
    QCOMPARE(meanBar.width(), twips::toPixels(65 * figures::kTwipsPerUnit));
    const QPointF alongTop(meanBar.center().x(), meanBar.top() + 3);
    QVERIFY2(probe.isColour(alongTop, kMeanYellow), "no yellow mean bar");
    const double printedWidth = probe.runLength(alongTop, kMeanYellow);
    QVERIFY2(
        std::abs(printedWidth - meanBar.width() * kDpi / PageImage::kPixelsPerInch) <= 2,
        qPrintable(
            QStringLiteral("the mean bar is %1 px wide at %2 dpi").arg(printedWidth).arg(kDpi)));
}

void FormPrintTest::saysOnceThatPrintingFailedAndKeepsWorking_data() {
    using Kind = PrinterTrouble::Kind;
    QTest::addColumn<Kind>("trouble");
    QTest::newRow("when there is no default printer") << Kind::NoDefaultPrinter;
    QTest::newRow("when the printer is disabled") << Kind::PrinterDisabled;
    QTest::newRow("when the queue rejects jobs") << Kind::QueueRejecting;
    QTest::newRow("when the server refuses the user's job") << Kind::UserDenied;
    QTest::newRow("when the server refuses the page after making the job")
        << Kind::DocumentRefused;
    QTest::newRow("when the print server is not running") << Kind::ServerNotRunning;
    QTest::newRow("when the print server's port is closed") << Kind::PortClosed;
    QTest::newRow("when the print server never answers") << Kind::SilentServer;
}

void FormPrintTest::saysOnceThatPrintingFailedAndKeepsWorking() {
    QFETCH(PrinterTrouble::Kind, trouble);
    Window window;
    window.enterAYear();
    window.desktop.messages.clear();

    PrintedPdfs printed;
    {
        const PrinterTrouble arranged(trouble);
        QVERIFY2(arranged.failure().isEmpty(), qPrintable(arranged.failure()));
        window.print();

        QCOMPARE(window.desktop.messages.size(), size_t(1));
        const PrintingDesktop::Message& message = window.desktop.messages.front();
        QCOMPARE(message.prompt, QStringLiteral("C'è un problema di stampa!"));
        QCOMPARE(message.style, MessageStyle::Warning);
        QCOMPARE(message.title, QStringLiteral("Verificare lo stato della stampante"));

        // Still working: January's new value moves its bar and the mean.
        const double barTopBefore = window.bar(1).top();
        window.box(2)->clear();
        window.type(1, QStringLiteral("130"));
        window.compute();
        QCOMPARE(window.mean(), QStringLiteral("75"));
        QCOMPARE(window.bar(1).top(), barTopBefore - 120);
    }
    QVERIFY(printed.waitForQueueToEmpty(30s).isEmpty());

    // Once the printer is back, the same window prints without a word.
    window.desktop.messages.clear();
    window.print();
    QVERIFY(window.desktop.messages.empty());
    const QStringList pdfs = PrintedPdfs::moveInto(printed.waitForQueueToEmpty(), outputFolder());
    QCOMPARE(pdfs.size(), 1);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString reason = PrintFixture::skipReason();
    if (!reason.isEmpty()) {
        std::printf("SKIPPED: %s\n", qPrintable(reason));
        return PrintFixture::kSkipCode;
    }
    FormPrintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FormPrintTest.moc"
