#include "SpoolerPrinter.h"

#include <QPainter>
#include <QtGlobal>

#include <windows.h>
#include <winspool.h>

#include <cmath>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "DefaultPrinter.h"
#include "GdiPage.h"
#include "OffThreadCall.h"
#include "PageImage.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often a queued job is looked at until it leaves the queue or the page's time is up.
constexpr std::chrono::milliseconds kJobPoll{100};

// A printer's states in which it prints nothing until someone sees to it.
constexpr DWORD kStoppedStates = PRINTER_STATUS_PAUSED | PRINTER_STATUS_ERROR |
                                 PRINTER_STATUS_OFFLINE | PRINTER_STATUS_NOT_AVAILABLE |
                                 PRINTER_STATUS_PAPER_OUT | PRINTER_STATUS_PAPER_JAM |
                                 PRINTER_STATUS_USER_INTERVENTION | PRINTER_STATUS_DOOR_OPEN |
                                 PRINTER_STATUS_NO_TONER | PRINTER_STATUS_PAPER_PROBLEM |
                                 PRINTER_STATUS_OUTPUT_BIN_FULL | PRINTER_STATUS_PENDING_DELETION;
// And a job's, once queued.
constexpr DWORD kFailedJobStates = JOB_STATUS_ERROR | JOB_STATUS_DELETING | JOB_STATUS_DELETED |
                                   JOB_STATUS_OFFLINE | JOB_STATUS_PAPEROUT |
                                   JOB_STATUS_BLOCKED_DEVQ | JOB_STATUS_USER_INTERVENTION;
constexpr DWORD kDoneJobStates = JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE;

QString systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                             : QStringLiteral("error %1").arg(error);
    LocalFree(text);
    return message;
}

QString lastSystemError() {
    return systemMessage(GetLastError());
}

// What the exchange with the spooler hands from one phase to the next. Each phase runs on a
// thread of its own and may outlive the caller's wait, so the threads own it together; only
// the running phase touches it, and a phase that finds it abandoned cleans up instead.
struct Exchange {
    explicit Exchange(Clock::time_point deadline) : deadline(deadline) {}
    ~Exchange() { close(); }

    bool failed() const { return failure.has_value(); }
    void fail(PrintOutcome outcome, const QString& reason) {
        failure = outcome;
        why = reason;
    }
    void close() {
        if (dc && jobStarted && !jobEnded) AbortDoc(dc);
        if (dc) DeleteDC(dc);
        if (printer) ClosePrinter(printer);
        dc = nullptr;
        printer = nullptr;
    }

    const Clock::time_point deadline;
    std::wstring name;
    HANDLE printer = nullptr;
    HDC dc = nullptr;
    int jobId = 0;
    bool jobStarted = false;
    bool jobEnded = false;
    std::atomic<bool> abandoned{false};
    std::optional<PrintOutcome> failure;
    QString why;
};

QString nameOf(const Exchange& exchange) {
    return QString::fromStdWString(exchange.name);
}

void reachPrinter(Exchange& exchange) {
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    if (length == 0)
        return exchange.fail(PrintOutcome::NoDefaultPrinter,
                             QStringLiteral("no default printer: %1").arg(lastSystemError()));
    std::vector<wchar_t> name(length);
    if (!GetDefaultPrinterW(name.data(), &length))
        return exchange.fail(PrintOutcome::NoDefaultPrinter,
                             QStringLiteral("no default printer: %1").arg(lastSystemError()));
    exchange.name = name.data();

    if (!OpenPrinterW(name.data(), &exchange.printer, nullptr))
        return exchange.fail(PrintOutcome::NoPrintService,
                             QStringLiteral("%1 could not be reached: %2")
                                 .arg(nameOf(exchange), lastSystemError()));
    DWORD needed = 0;
    GetPrinterW(exchange.printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(std::max<DWORD>(needed, sizeof(PRINTER_INFO_2W)));
    if (!GetPrinterW(exchange.printer, 2, buffer.data(), DWORD(buffer.size()), &needed))
        return exchange.fail(PrintOutcome::NoPrintService,
                             QStringLiteral("%1 gave no details: %2")
                                 .arg(nameOf(exchange), lastSystemError()));
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    if (info->Status & kStoppedStates)
        return exchange.fail(PrintOutcome::PrinterStopped,
                             QStringLiteral("%1 is stopped (status %2)")
                                 .arg(nameOf(exchange))
                                 .arg(info->Status, 0, 16));
    if (info->Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE)
        return exchange.fail(PrintOutcome::PrinterStopped,
                             QStringLiteral("%1 is set to work offline").arg(nameOf(exchange)));

    exchange.dc = CreateDCW(L"WINSPOOL", name.data(), nullptr, info->pDevMode);
    if (!exchange.dc)
        return exchange.fail(PrintOutcome::NoPrintService,
                             QStringLiteral("%1 has no drawing surface: %2")
                                 .arg(nameOf(exchange), lastSystemError()));
}

void startJob(Exchange& exchange) {
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = L"Quilvane";
    exchange.jobId = StartDocW(exchange.dc, &document);
    if (exchange.jobId <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the job: %2")
                                                           .arg(nameOf(exchange), lastSystemError()));
    exchange.jobStarted = true;
    if (StartPage(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the page: %2")
                                                           .arg(nameOf(exchange), lastSystemError()));
}

// Whether the job failed once queued; a job still in the queue when the time is up is queued,
// as a page in a CUPS queue is.
void watchJob(Exchange& exchange) {
    while (Clock::now() < exchange.deadline && !exchange.abandoned) {
        DWORD needed = 0;
        GetJobW(exchange.printer, DWORD(exchange.jobId), 1, nullptr, 0, &needed);
        if (needed == 0) return;  // gone from the queue: handed to the printer
        std::vector<BYTE> buffer(needed);
        if (!GetJobW(exchange.printer, DWORD(exchange.jobId), 1, buffer.data(), needed, &needed))
            return;
        const auto* job = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
        if (job->Status & kFailedJobStates)
            return exchange.fail(PrintOutcome::JobRefused,
                                 QStringLiteral("%1, job %2 failed in the queue (status %3)")
                                     .arg(nameOf(exchange))
                                     .arg(exchange.jobId)
                                     .arg(job->Status, 0, 16));
        if (job->Status & kDoneJobStates) return;
        std::this_thread::sleep_for(kJobPoll);
    }
}

void finishJob(Exchange& exchange) {
    if (EndPage(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the page: %2")
                                                           .arg(nameOf(exchange), lastSystemError()));
    exchange.jobEnded = true;
    if (EndDoc(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused,
                             QStringLiteral("%1 refused the finished job: %2")
                                 .arg(nameOf(exchange), lastSystemError()));
    watchJob(exchange);
}

void closeExchange(Exchange& exchange) {
    exchange.close();
}

// At least this long to close once the page's time is up.
constexpr std::chrono::milliseconds kClosingTime{500};

// The page on the printer's page, from the top left corner of its printable area, which is
// where a printer's device context begins.
bool paintPage(HDC dc, const PageImage& page) {
    GdiPage device(dc, page.sizeInPixels());
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setClipRect(QRectF(QPointF(0, 0), page.sizeInPixels()));
    try {
        page.paint(painter);
    } catch (...) {
        painter.end();
        return false;
    }
    // False also when the paint function ended the painter itself: the page is incomplete.
    return painter.isActive() && painter.end();
}

}  // namespace

SpoolerPrinter::SpoolerPrinter(std::chrono::milliseconds pageTimeLimit)
    : PagePrinter(pageTimeLimit) {}

PrintOutcome SpoolerPrinter::put(const PageImage& page, QString& why) {
    const Clock::time_point deadline = Clock::now() + pageTimeLimit();
    auto exchange = std::make_shared<Exchange>(deadline);
    // Each phase on a thread of its own, which owns the exchange with this thread: a spooler
    // that never answers keeps the thread, not the window. Once this thread has stopped waiting
    // it no longer touches the exchange, and the thread closes it when it ends.
    std::optional<PrintOutcome> givenUp;
    const auto phase = [&](void (*work)(Exchange&), Clock::time_point until,
                           std::optional<PrintOutcome> lateOutcome) {
        const std::string broke = OffThreadCall::runUntil(until, [exchange, work] {
            if (!exchange->failed() || work == closeExchange) work(*exchange);
            if (exchange->abandoned) exchange->close();
        });
        if (broke.empty()) return;
        exchange->abandoned = true;
        if (!lateOutcome) return;  // closing late changes nothing of the outcome
        givenUp = broke == OffThreadCall::kTimedOut ? *lateOutcome : PrintOutcome::ExchangeBroken;
        why = broke == OffThreadCall::kTimedOut
                  ? QStringLiteral("the print spooler did not answer in time")
                  : QStringLiteral("the exchange broke off: %1").arg(QString::fromStdString(broke));
    };
    const auto going = [&] { return !givenUp && !exchange->failed(); };

    phase(reachPrinter, std::min(deadline, Clock::now() + print_limits::kReachPrinter),
          PrintOutcome::NoPrintService);
    if (going()) phase(startJob, deadline, PrintOutcome::NoPrintService);
    // Painted here, between the phases: the page paints widgets, which live on this thread.
    if (going() && !paintPage(exchange->dc, page))
        exchange->fail(PrintOutcome::DrawingFailed, QStringLiteral("drawing failed"));
    if (going()) phase(finishJob, deadline, PrintOutcome::JobRefused);
    // Closing may still wait on the spooler: a job left half made is cancelled there.
    if (!givenUp)
        phase(closeExchange, std::max(deadline, Clock::now() + kClosingTime), std::nullopt);
    if (givenUp) return *givenUp;
    if (exchange->failed()) {
        why = exchange->why;
        return *exchange->failure;
    }
    return PrintOutcome::Printed;
}

bool printOnDefaultPrinter(const PageImage& page) {
    static SpoolerPrinter printer;
    return printer.print(page);
}
