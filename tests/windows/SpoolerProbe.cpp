// Prints one test page through SpoolerPrinter on the default printer and says how it went, for
// tests/windows/spooler-print-test.sh, which arranges the printer's trouble from outside Wine:
//   spooler_probe [TIME_LIMIT_MS]
// prints "<outcome> <milliseconds>" and, after a failure, the reason on the next line.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "PageImage.h"
#include "SpoolerPrinter.h"

namespace {

constexpr std::array kOutcomes{"Printed",          "NoPrintService", "NoDefaultPrinter",
                               "PrinterStopped",   "NotAcceptingJobs", "DrawingFailed",
                               "JobRefused",       "ExchangeBroken",   "Cancelled"};

// The window's size in logical pixels, with red marks 4 inches (384 pixels) apart across and
// down, a green bar and a line of text.
void paintTestPage(QPainter& painter) {
    painter.fillRect(QRectF(0, 0, 411, 415), QColor(0xef, 0xef, 0xef));
    for (const QPointF& mark : {QPointF(20, 20), QPointF(404, 20), QPointF(20, 404)})
        painter.fillRect(QRectF(mark - QPointF(3, 3), QSizeF(6, 6)), Qt::red);
    painter.fillRect(QRectF(100, 40, 5, 300), QColor(0, 255, 0));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(30, 390), QStringLiteral("Quilvane: 4 pollici fra i segni rossi"));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const auto limit = argc > 1 ? std::chrono::milliseconds(std::atoi(argv[1]))
                                : print_limits::kPage;
    SpoolerPrinter printer(limit);
    QElapsedTimer clock;
    clock.start();
    const PrintOutcome outcome = printer.submit(PageImage(QSizeF(411, 415), paintTestPage));
    std::printf("%s %lld\n%s\n", kOutcomes.at(size_t(outcome)), clock.elapsed(),
                qUtf8Printable(printer.lastError()));
    return 0;
}
