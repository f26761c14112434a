#include "SpoolerPrinter.h"

#include <QPainter>
#include <QtGlobal>

#include <windows.h>

#include <winspool.h>

#include <atomic>
#include <cwctype>
#include <memory>
#include <thread>

#include "DefaultPrinter.h"
#include "GdiPage.h"
#include "OffThreadCall.h"
#include "PageImage.h"
#include "Spooler.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often a queued job is looked at until it leaves the queue or the page's time is nearly up.
constexpr std::chrono::milliseconds kJobPoll{100};
// The watch ends this long before the page's time, so that a job still queued then is printed,
// not timed out.
constexpr std::chrono::milliseconds kWatchMargin{3 * kJobPoll};
// At least this long to close once the page is done with.
constexpr std::chrono::milliseconds kClosingTime{500};

// A printer's states in which it prints nothing until someone sees to it.
constexpr DWORD kStoppedStates = PRINTER_STATUS_PAUSED | PRINTER_STATUS_ERROR |
                                 PRINTER_STATUS_OFFLINE | PRINTER_STATUS_NOT_AVAILABLE |
                                 PRINTER_STATUS_PAPER_OUT | PRINTER_STATUS_PAPER_JAM |
                                 PRINTER_STATUS_USER_INTERVENTION | PRINTER_STATUS_DOOR_OPEN |
                                 PRINTER_STATUS_NO_TONER | PRINTER_STATUS_PAPER_PROBLEM |
                                 PRINTER_STATUS_OUTPUT_BIN_FULL | PRINTER_STATUS_PENDING_DELETION;
// A queued job's: done first, for a printed job is deleted from the queue next.
constexpr DWORD kDoneJobStates = JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE;
constexpr DWORD kFailedJobStates = JOB_STATUS_ERROR | JOB_STATUS_DELETING | JOB_STATUS_DELETED |
                                   JOB_STATUS_OFFLINE | JOB_STATUS_PAPEROUT |
                                   JOB_STATUS_BLOCKED_DEVQ | JOB_STATUS_USER_INTERVENTION;

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

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(std::towupper(c));
    return text;
}

// Ports whose printers ask the user for a file as the job starts.
bool asksForFile(const std::wstring& port) {
    const std::wstring name = upper(port);
    return name == L"FILE:" || name == L"PORTPROMPT:" || name == L"XPSPORT:";
}

// The kind of file a printer's driver writes.
std::wstring extensionWritten(const std::wstring& driver) {
    const std::wstring name = upper(driver);
    if (name.find(L"PDF") != std::wstring::npos) return L"pdf";
    if (name.find(L"XPS") != std::wstring::npos) return L"oxps";
    return L"prn";
}

// What the exchange with the spooler hands from one phase to the next. The phases run one after
// the other on the exchange's thread, which may outlive the caller's wait, so they own it with
// the caller; only the running phase touches it.
struct Exchange {
    Exchange(Spooler& spooler, Clock::time_point deadline) : spooler(spooler), deadline(deadline) {}
    ~Exchange() { close(); }

    bool failed() const { return failure.has_value(); }
    void fail(PrintOutcome outcome, const QString& reason) {
        failure = outcome;
        why = reason;
    }
    void close() {
        if (dc && jobStarted && !jobEnded) spooler.abortDoc(dc);
        if (dc) spooler.deleteDC(dc);
        if (printer) spooler.closePrinter(printer);
        dc = nullptr;
        printer = nullptr;
    }
    QString name() const { return QString::fromStdWString(printerName); }

    Spooler& spooler;
    Clock::time_point deadline;  // set by the caller only while no phase runs
    std::wstring printerName;
    Spooler::PrinterDetails details;
    std::wstring outputFile;
    HANDLE printer = nullptr;
    HDC dc = nullptr;
    QSizeF dotsPerInch;
    std::unique_ptr<GdiPage> page;
    int jobId = 0;
    bool jobStarted = false;
    bool jobEnded = false;
    bool cancelled = false;
    // Set once the caller has given up: a phase that answers late goes no further, so that no
    // page is printed after its warning.
    std::atomic<bool> abandoned{false};
    std::optional<PrintOutcome> failure;
    QString why;
};

void reachPrinter(Exchange& exchange) {
    Spooler& spooler = exchange.spooler;
    if (!spooler.defaultPrinter(exchange.printerName))
        return exchange.fail(PrintOutcome::NoDefaultPrinter,
                             QStringLiteral("no default printer: %1").arg(lastSystemError()));
    if (!spooler.openPrinter(exchange.printerName, exchange.printer)) {
        exchange.printer = nullptr;
        return exchange.fail(PrintOutcome::NoPrintService, QStringLiteral("%1 could not be reached: %2")
                                                               .arg(exchange.name(), lastSystemError()));
    }
    Spooler::PrinterDetails& details = exchange.details;
    if (!spooler.printerDetails(exchange.printer, details))
        return exchange.fail(PrintOutcome::NoPrintService, QStringLiteral("%1 gave no details: %2")
                                                               .arg(exchange.name(), lastSystemError()));
    if (details.status & kStoppedStates)
        return exchange.fail(PrintOutcome::PrinterStopped, QStringLiteral("%1 is stopped (status %2)")
                                                               .arg(exchange.name())
                                                               .arg(details.status, 0, 16));
    if (details.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE)
        return exchange.fail(PrintOutcome::PrinterStopped,
                             QStringLiteral("%1 is set to work offline").arg(exchange.name()));

    const auto* devMode = details.devMode.empty()
                              ? nullptr
                              : reinterpret_cast<const DEVMODEW*>(details.devMode.data());
    exchange.dc = spooler.createDC(exchange.printerName, devMode);
    if (!exchange.dc)
        return exchange.fail(PrintOutcome::NoPrintService, QStringLiteral("%1 has no drawing surface: %2")
                                                               .arg(exchange.name(), lastSystemError()));
    exchange.dotsPerInch = QSizeF(spooler.deviceCaps(exchange.dc, LOGPIXELSX),
                                  spooler.deviceCaps(exchange.dc, LOGPIXELSY));
    if (exchange.dotsPerInch.width() <= 0 || exchange.dotsPerInch.height() <= 0)
        return exchange.fail(PrintOutcome::NoPrintService,
                             QStringLiteral("%1 has no resolution").arg(exchange.name()));
}

void startJob(Exchange& exchange) {
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = L"Quilvane";
    if (!exchange.outputFile.empty()) document.lpszOutput = exchange.outputFile.c_str();
    exchange.jobId = exchange.spooler.startDoc(exchange.dc, document);
    if (exchange.jobId <= 0) {
        // The driver's own question (where to save, say) was answered with Cancel.
        if (GetLastError() == ERROR_CANCELLED) {
            exchange.cancelled = true;
            return;
        }
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the job: %2")
                                                           .arg(exchange.name(), lastSystemError()));
    }
    exchange.jobStarted = true;
    if (exchange.abandoned) return;
    if (exchange.spooler.startPage(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the page: %2")
                                                           .arg(exchange.name(), lastSystemError()));
}

// Whether the job failed once queued, watched until it is done, leaves the queue, or the page's
// time is nearly up: a job still queued then is waiting for its printer (busy, waking, far off
// on the network) and will print, as a page in a CUPS queue does.
void watchJob(Exchange& exchange) {
    while (Clock::now() + kWatchMargin < exchange.deadline && !exchange.abandoned) {
        DWORD status = 0;
        // Gone from the queue, handed to the printer; or the spooler cannot tell of a job that
        // it took (Wine says nothing of why), which is in its queue all the same.
        if (!exchange.spooler.jobStatus(exchange.printer, DWORD(exchange.jobId), status)) return;
        if (status & kDoneJobStates) return;
        if (status & kFailedJobStates)
            return exchange.fail(PrintOutcome::JobRefused,
                                 QStringLiteral("%1, job %2 failed in the queue (status %3)")
                                     .arg(exchange.name())
                                     .arg(exchange.jobId)
                                     .arg(status, 0, 16));
        std::this_thread::sleep_for(kJobPoll);
    }
}

void finishJob(Exchange& exchange) {
    if (!exchange.page->playOn(exchange.dc))
        return exchange.fail(PrintOutcome::DrawingFailed,
                             QStringLiteral("%1 did not take the drawing").arg(exchange.name()));
    if (exchange.abandoned) return;
    if (exchange.spooler.endPage(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the page: %2")
                                                           .arg(exchange.name(), lastSystemError()));
    if (exchange.abandoned) return;
    exchange.jobEnded = true;
    if (exchange.spooler.endDoc(exchange.dc) <= 0)
        return exchange.fail(PrintOutcome::JobRefused, QStringLiteral("%1 refused the finished job: %2")
                                                           .arg(exchange.name(), lastSystemError()));
}

// The page painted for the printer: widgets paint it, and they live on this thread.
std::unique_ptr<GdiPage> paintPage(const PageImage& page, QSizeF dotsPerInch) {
    auto device = std::make_unique<GdiPage>(page.sizeInPixels(), dotsPerInch);
    QPainter painter;
    if (!painter.begin(device.get())) return nullptr;
    painter.setClipRect(QRectF(QPointF(0, 0), page.sizeInPixels()));
    try {
        page.paint(painter);
    } catch (...) {
        painter.end();
        return nullptr;
    }
    // Null also when the paint function ended the painter itself: the page is incomplete.
    if (!painter.isActive() || !painter.end()) return nullptr;
    return device;
}

}  // namespace

SpoolerPrinter::SpoolerPrinter(std::chrono::milliseconds pageTimeLimit)
    : SpoolerPrinter(pageTimeLimit, Spooler::system(), askInSaveDialog) {}

SpoolerPrinter::SpoolerPrinter(std::chrono::milliseconds pageTimeLimit, Spooler& spooler,
                               AskWhereToSave askWhereToSave)
    : PagePrinter(pageTimeLimit), m_spooler(spooler), m_askWhereToSave(std::move(askWhereToSave)) {}

PrintOutcome SpoolerPrinter::put(const PageImage& page, QString& why) {
    auto exchange = std::make_shared<Exchange>(m_spooler, Clock::now() + pageTimeLimit());
    // Every phase on the exchange's one thread, which owns the exchange with this one: a spooler
    // that never answers keeps the thread, not the window, and closes the exchange when it ends.
    OffThreadCall thread;
    std::optional<PrintOutcome> givenUp;
    bool timedOut = false;
    const auto going = [&] { return !givenUp && !exchange->failed() && !exchange->cancelled; };
    const auto phase = [&](void (*work)(Exchange&), Clock::time_point until, PrintOutcome late) {
        if (!going()) return;
        const std::string broke = thread.callUntil(until, [exchange, work] {
            if (!exchange->abandoned) work(*exchange);
        });
        if (broke.empty()) return;
        timedOut = broke == OffThreadCall::kTimedOut;
        exchange->abandoned = true;
        givenUp = timedOut ? late : PrintOutcome::ExchangeBroken;
        why = timedOut ? QStringLiteral("the print spooler did not answer in time")
                       : QStringLiteral("the exchange broke off: %1").arg(QString::fromStdString(broke));
    };

    phase(reachPrinter,
          std::min(exchange->deadline, Clock::now() + print_limits::kReachPrinter),
          PrintOutcome::NoPrintService);
    // Asked with no time running: the user takes the time they need, then the page has its own.
    if (going() && asksForFile(exchange->details.port)) {
        QString notAsked;
        const std::optional<std::wstring> file =
            m_askWhereToSave(extensionWritten(exchange->details.driver), notAsked);
        if (file)
            exchange->outputFile = *file;
        else if (notAsked.isEmpty())
            exchange->cancelled = true;
        else
            exchange->fail(PrintOutcome::JobRefused,
                           QStringLiteral("%1 asks for a file, and none could be chosen: %2")
                               .arg(exchange->name(), notAsked));
        exchange->deadline = Clock::now() + pageTimeLimit();
    }
    phase(startJob, exchange->deadline, PrintOutcome::NoPrintService);
    if (going()) {
        exchange->page = paintPage(page, exchange->dotsPerInch);
        if (!exchange->page) exchange->fail(PrintOutcome::DrawingFailed, QStringLiteral("drawing failed"));
    }
    // However long the page took to paint, the spooler has a moment to take it.
    phase(finishJob, std::max(exchange->deadline, Clock::now() + kClosingTime), PrintOutcome::JobRefused);
    // Once ended, the job is in the queue: a spooler silent about it now keeps it there.
    phase(watchJob, exchange->deadline, PrintOutcome::Printed);
    // Closing may still wait on the spooler: a job left half made is cancelled there. Behind a
    // phase that never ended, it waits on the thread for that one.
    const auto close = [exchange] { exchange->close(); };
    if (timedOut)
        thread.post(close);
    else
        (void)thread.callUntil(std::max(exchange->deadline, Clock::now() + kClosingTime), close);
    if (givenUp) return *givenUp;
    if (exchange->failed()) {
        why = exchange->why;
        return *exchange->failure;
    }
    if (exchange->cancelled) {
        why = QStringLiteral("the user called the print off");
        return PrintOutcome::Cancelled;
    }
    return PrintOutcome::Printed;
}

bool printOnDefaultPrinter(const PageImage& page) {
    static SpoolerPrinter printer;
    return printer.print(page);
}
