// CupsPrinter against the real CUPS scheduler, with cups-pdf as the default printer: the page
// must come out of it at true size, and every way printing can fail must end quickly in false.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QThread>
#include <QtTest>

#include <array>
#include <cmath>
#include <cstdio>

#include "CupsPrinter.h"
#include "PageImage.h"
#include "PdfFile.h"
#include "PrintFixture.h"
#include "PrintedPdfs.h"
#include "PrinterTrouble.h"
#include "SheetProbe.h"

Q_DECLARE_METATYPE(PrintOutcome)
Q_DECLARE_METATYPE(PrinterTrouble::Kind)

namespace QTest {
template <>
char* toString(const PrintOutcome& outcome) {
    static constexpr std::array names{"Printed",          "NoPrintService", "NoDefaultPrinter",
                                      "PrinterStopped",   "NotAcceptingJobs", "DrawingFailed",
                                      "JobRefused",       "ExchangeBroken"};
    return qstrdup(names.at(size_t(outcome)));
}
}  // namespace QTest

namespace {

using namespace std::chrono_literals;

// The test page, in logical pixels: the window's client area is 411 x 415.
const QSizeF kPageSize(411, 415);
const QRectF kGreenBar(100, 40, 5, 300);
const QRectF kYellowBox(200, 150, 120, 60);
// Red squares whose centres are 4 inches (384 logical pixels) apart across and down.
const std::array kMarks{QPointF(20, 20), QPointF(404, 20), QPointF(20, 404)};
constexpr double kMarkSide = 6;
// Lies beyond the page's right edge: must not be printed.
const QRectF kOffPage(430, 100, 60, 60);

void paintTestPage(QPainter& painter) {
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRectF(0.5, 0.5, kPageSize.width() - 1, kPageSize.height() - 1));
    painter.fillRect(kGreenBar, QColor(0, 255, 0));
    painter.fillRect(kYellowBox, QColor(255, 255, 0));
    for (const QPointF& mark : kMarks)
        painter.fillRect(
            QRectF(mark - QPointF(kMarkSide / 2, kMarkSide / 2), QSizeF(kMarkSide, kMarkSide)),
            Qt::red);
    painter.fillRect(kOffPage, Qt::blue);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    painter.drawText(QPointF(30, 390), QStringLiteral("Quilvane: 4 in between the red marks"));
}

PageImage testPage() {
    return PageImage(kPageSize, paintTestPage);
}

}  // namespace

class CupsPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void printsThePageAtTrueSizeOnTheDefaultPrinter();
    void failsQuicklyWhenThePrinterCannotPrint_data();
    void failsQuicklyWhenThePrinterCannotPrint();
    void failsWithoutAJobWhenThePageCannotBeDrawn_data();
    void failsWithoutAJobWhenThePageCannotBeDrawn();
    void givesUpOnASilentServerWithinTheTimeLimit_data();
    void givesUpOnASilentServerWithinTheTimeLimit();
    void paintsThePageOnTheCallingThread();

private:
    QString outputFolder() const {
        return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("printed"));
    }
};

void CupsPrinterTest::printsThePageAtTrueSizeOnTheDefaultPrinter() {
    PrintedPdfs printed;
    CupsPrinter printer;
    QCOMPARE(printer.submit(testPage()), PrintOutcome::Printed);
    QVERIFY(printer.lastError().isEmpty());

    const QStringList pdfs = PrintedPdfs::moveInto(printed.waitForQueueToEmpty(), outputFolder());
    QVERIFY2(printed.queueEmptied(), "the job never left the queue");
    QCOMPARE(pdfs.size(), 1);
    const PdfFile pdf(pdfs.front());
    QCOMPARE(pdf.pageCount(), 1);
    // The queue's default media is A4, and the page is drawn for it: no scaling on the way.
    QCOMPARE(pdf.pageSizeInPoints().toSize(), QSize(595, 842));
    QCOMPARE(pdf.imageCount(), 0);

    constexpr int kDpi = 150;
    const QImage sheet = pdf.render(kDpi, QDir(outputFolder()).filePath(QStringLiteral("page")));
    QVERIFY(!sheet.isNull());
    const SheetProbe probe(sheet, kDpi);

    // cups-pdf has no hardware margin, so the page's corner is the sheet's corner.
    const std::optional<QPointF> first = probe.centreOf(kMarks[0], Qt::red);
    const std::optional<QPointF> across = probe.centreOf(kMarks[1], Qt::red);
    const std::optional<QPointF> down = probe.centreOf(kMarks[2], Qt::red);
    QVERIFY2(first && across && down, "a red mark is missing where the page should be");
    const double tolerance = 1.5;  // sheet pixels, at 150 dpi
    QVERIFY2(std::abs(first->x() - probe.toSheet(kMarks[0]).x()) <= tolerance &&
                 std::abs(first->y() - probe.toSheet(kMarks[0]).y()) <= tolerance,
             qPrintable(QStringLiteral("first mark at %1,%2").arg(first->x()).arg(first->y())));
    const double fourInches = 4 * kDpi;
    QVERIFY2(std::abs(across->x() - first->x() - fourInches) <= tolerance,
             qPrintable(QStringLiteral("marks %1 px apart across").arg(across->x() - first->x())));
    QVERIFY2(std::abs(down->y() - first->y() - fourInches) <= tolerance,
             qPrintable(QStringLiteral("marks %1 px apart down").arg(down->y() - first->y())));

    QVERIFY(probe.isColour(kGreenBar.center(), QColor(0, 255, 0)));
    QVERIFY(probe.isColour(kYellowBox.center(), QColor(255, 255, 0)));
    QVERIFY(probe.isColour(kGreenBar.center() - QPointF(5, 0), Qt::white));
    const double barWidth = probe.runLength(kGreenBar.center(), QColor(0, 255, 0));
    QVERIFY2(std::abs(barWidth - kGreenBar.width() * kDpi / PageImage::kPixelsPerInch) <= 1.5,
             qPrintable(QStringLiteral("green bar %1 px wide").arg(barWidth)));
    QVERIFY2(!probe.contains(kOffPage, Qt::blue), "drawing beyond the page was printed");
}

void CupsPrinterTest::failsQuicklyWhenThePrinterCannotPrint_data() {
    using Kind = PrinterTrouble::Kind;
    QTest::addColumn<Kind>("trouble");
    QTest::addColumn<PrintOutcome>("expected");
    QTest::newRow("no default printer is reported as such")
        << Kind::NoDefaultPrinter << PrintOutcome::NoDefaultPrinter;
    QTest::newRow("a disabled printer is reported as stopped")
        << Kind::PrinterDisabled << PrintOutcome::PrinterStopped;
    QTest::newRow("a queue rejecting jobs is reported as not accepting")
        << Kind::QueueRejecting << PrintOutcome::NotAcceptingJobs;
    QTest::newRow("a job the server's policy forbids is reported as refused")
        << Kind::UserDenied << PrintOutcome::JobRefused;
    QTest::newRow("a page refused after its job was made is reported as refused")
        << Kind::DocumentRefused << PrintOutcome::JobRefused;
    QTest::newRow("a print server that is not running is reported as unreachable")
        << Kind::ServerNotRunning << PrintOutcome::NoPrintService;
    QTest::newRow("a closed print server port is reported as unreachable")
        << Kind::PortClosed << PrintOutcome::NoPrintService;
    QTest::newRow("no thread to talk to the server on is a failure, not the program's end")
        << Kind::NoThreads << PrintOutcome::ExchangeBroken;
}

void CupsPrinterTest::failsQuicklyWhenThePrinterCannotPrint() {
    QFETCH(PrinterTrouble::Kind, trouble);
    QFETCH(PrintOutcome, expected);

    PrintedPdfs printed;
    PrintOutcome outcome = PrintOutcome::Printed;
    CupsPrinter printer;
    qint64 elapsed = 0;
    {
        const PrinterTrouble arranged(trouble);
        QVERIFY2(arranged.failure().isEmpty(), qPrintable(arranged.failure()));
        QElapsedTimer clock;
        clock.start();
        outcome = printer.submit(testPage());
        elapsed = clock.elapsed();
    }

    QCOMPARE(outcome, expected);
    QVERIFY(!printer.lastError().isEmpty());
    QVERIFY2(elapsed < (print_limits::kPage + 1s).count(),
             qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
    // Nothing half-done is left behind: no job in the queue, nothing printed.
    QVERIFY(printed.waitForQueueToEmpty(30s).isEmpty());
    QVERIFY(printed.queueEmptied());
}

void CupsPrinterTest::failsWithoutAJobWhenThePageCannotBeDrawn_data() {
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("painterEndedByPage");
    QTest::newRow("a page that ends its own painter") << kPageSize << true;
    QTest::newRow("a page of no size") << QSizeF(0, 0) << false;
    QTest::newRow("a page of negative size") << QSizeF(-411, 415) << false;
    QTest::newRow("a page of infinite size") << QSizeF(qInf(), 415) << false;
}

void CupsPrinterTest::failsWithoutAJobWhenThePageCannotBeDrawn() {
    QFETCH(QSizeF, size);
    QFETCH(bool, painterEndedByPage);
    const PageImage page(size, [painterEndedByPage](QPainter& painter) {
        paintTestPage(painter);
        if (painterEndedByPage) painter.end();
    });

    PrintedPdfs printed;
    CupsPrinter printer;
    QCOMPARE(printer.submit(page), PrintOutcome::DrawingFailed);
    QVERIFY(printed.waitForQueueToEmpty(30s).isEmpty());
    QVERIFY(printed.queueEmptied());
}

void CupsPrinterTest::givesUpOnASilentServerWithinTheTimeLimit_data() {
    QTest::addColumn<int>("timeLimitMs");
    QTest::newRow("the usual time limit") << int(print_limits::kPage.count());
    QTest::newRow("a shorter time limit") << 1500;
}

// A server that takes the connection and never answers must cost seconds, not a hung window.
void CupsPrinterTest::givesUpOnASilentServerWithinTheTimeLimit() {
    QFETCH(int, timeLimitMs);
    const PrinterTrouble silent(PrinterTrouble::Kind::SilentServer);
    QVERIFY2(silent.failure().isEmpty(), qPrintable(silent.failure()));

    CupsPrinter printer{std::chrono::milliseconds(timeLimitMs)};
    QElapsedTimer clock;
    clock.start();
    const PrintOutcome outcome = printer.submit(testPage());
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(outcome, PrintOutcome::NoPrintService);
    QVERIFY2(elapsed < timeLimitMs + 1000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
}

// The page paints widgets in the program, and widgets live on the window's thread alone; the
// talk with the server happens elsewhere meanwhile.
void CupsPrinterTest::paintsThePageOnTheCallingThread() {
    QList<QThread*> paintedOn;
    const PageImage page(kPageSize, [&paintedOn](QPainter& painter) {
        paintedOn << QThread::currentThread();
        paintTestPage(painter);
    });

    PrintedPdfs printed;
    CupsPrinter printer;
    QCOMPARE(printer.submit(page), PrintOutcome::Printed);
    QCOMPARE(paintedOn, QList<QThread*>{QThread::currentThread()});
    const QStringList pdfs = PrintedPdfs::moveInto(printed.waitForQueueToEmpty(), outputFolder());
    QCOMPARE(pdfs.size(), 1);
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString reason = PrintFixture::skipReason();
    if (!reason.isEmpty()) {
        std::printf("SKIPPED: %s\n", qPrintable(reason));
        return PrintFixture::kSkipCode;
    }
    CupsPrinterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CupsPrinterTest.moc"
