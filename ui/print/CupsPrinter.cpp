#include "CupsPrinter.h"

#include "DefaultPrinter.h"
#include "OffThreadCall.h"
#include "PageImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtGlobal>

#include <cups/cups.h>

#include <sys/socket.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// The page paints in logical pixels and sizes its fonts in points, which QPainter turns into
// pixels at the device's resolution: at 96 dpi both agree with the screen. Nothing is lost by
// it: the PDF keeps coordinates as real numbers and shapes and text as vectors, so the printer
// draws them at its own resolution.
constexpr int kPdfResolution = 96;
constexpr double kHundredthsOfMmPerInch = 2540.0;
// Where the printer does not tell where its printable area starts, most printers' hardware
// margin is no wider than this.
constexpr double kFallbackMarginInches = 0.25;
// How often a blocked exchange wakes up to look at the clock.
constexpr double kWakeUpSeconds = 0.25;

struct Deadline {
    Clock::time_point at;
};

// Called by libcups each time a read or write has waited kWakeUpSeconds: wait on only while
// there is time left.
int waitWhileTimeLeft(http_t*, void* deadline) {
    return Clock::now() < static_cast<const Deadline*>(deadline)->at ? 1 : 0;
}

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
struct DestFreer {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoFreer {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
struct OptionsFreer {
    int count = 0;
    void operator()(cups_option_t* options) const { cupsFreeOptions(count, options); }
};

// The sheet the page lands on, where its printable area begins, and the printer's name for it
// (empty when the printer did not say).
struct Sheet {
    QPageSize size;
    QPointF originInPixels;
    QByteArray media;
};

Sheet fallbackSheet() {
    const double margin = kFallbackMarginInches * PageImage::kPixelsPerInch;
    return {QPageSize(QPageSize::A4), QPointF(margin, margin), {}};
}

double hundredthsOfMmToPixels(int value) {
    return value / kHundredthsOfMmPerInch * PageImage::kPixelsPerInch;
}

// The printer's default media. Its media-default attribute, looked up by name, is the one the
// server will print on; cupsGetDestMediaDefault alone answers US Letter for a queue whose
// default is A4.
Sheet defaultSheet(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
    ipp_attribute_t* attribute = cupsFindDestDefault(http, dest, info, "media");
    const char* name = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    cups_size_t media{};
    if (!name || !cupsGetDestMediaByName(http, dest, info, name, CUPS_MEDIA_FLAGS_DEFAULT, &media))
        return fallbackSheet();
    if (media.width <= 0 || media.length <= 0 || media.left < 0 || media.top < 0 ||
        media.left >= media.width || media.top >= media.length) {
        return fallbackSheet();
    }
    const QPageSize size(QSizeF(media.width / 100.0, media.length / 100.0), QPageSize::Millimeter,
                         QString(), QPageSize::FuzzyMatch);
    if (!size.isValid()) return fallbackSheet();
    return {size, QPointF(hundredthsOfMmToPixels(media.left), hundredthsOfMmToPixels(media.top)),
            QByteArray(name)};
}

// One page of PDF in memory, the page at true size with its top left corner on the origin of the
// printable area. Empty when drawing fails.
QByteArray renderPdf(const PageImage& page, const Sheet& sheet) {
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quilvane"));
        writer.setTitle(QStringLiteral("Quilvane"));
        writer.setResolution(kPdfResolution);
        static_assert(kPdfResolution == PageImage::kPixelsPerInch);
        if (!writer.setPageLayout(QPageLayout(sheet.size, QPageLayout::Portrait, QMarginsF(),
                                              QPageLayout::Millimeter))) {
            return {};
        }
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        painter.translate(sheet.originInPixels);
        painter.setClipRect(QRectF(QPointF(0, 0), page.sizeInPixels()));
        try {
            page.paint(painter);
        } catch (...) {
            painter.end();
            return {};
        }
        // False also when the paint function ended the painter itself: the page is incomplete.
        if (!painter.isActive() || !painter.end()) return {};
    }
    return buffer.data();
}

// successful-ok, or one of its variants (some options ignored or substituted, and the like).
bool succeeded(ipp_status_t status) {
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// After a failed request: was it the server that went missing, or did it say no?
bool serverUnreachable(http_t* http) {
    const ipp_status_t status = cupsLastError();
    return httpError(http) != 0 || status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
           status == IPP_STATUS_ERROR_INTERNAL;
}

QString failureText(http_t* http) {
    if (const int error = httpError(http)) return QString::fromLocal8Bit(std::strerror(error));
    return QString::fromUtf8(cupsLastErrorString());
}

// libcups would ask for a password on the terminal, out of sight and blocking the window: a
// server that wants one gets none, and the job fails like any other refusal.
const char* noPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

// What the exchange with the print server hands from one phase to the next. The phases run one
// after the other, each on a thread of its own, and only the running one touches it.
struct Exchange {
    explicit Exchange(Clock::time_point deadline) : deadline{deadline} {}

    bool failed() const { return failure.has_value(); }
    void fail(PrintOutcome outcome, const QString& reason) {
        failure = outcome;
        why = reason;
    }
    // Closing may still talk to the server (TLS says goodbye): done by the last phase.
    void close() {
        info.reset();
        dest.reset();
        http.reset();
    }

    Deadline deadline;
    std::unique_ptr<http_t, HttpCloser> http;
    std::unique_ptr<cups_dest_t, DestFreer> dest;
    std::unique_ptr<cups_dinfo_t, DestInfoFreer> info;
    QString name;
    Sheet sheet = fallbackSheet();
    std::optional<PrintOutcome> failure;
    QString why;
};

// libcups keeps its error, its password callback and its server settings per thread: each phase
// sets up its own and puts its failures into words before it ends.
void reachPrinter(Exchange& exchange) {
    cupsSetPasswordCB2(noPassword, nullptr);
    const auto connectWithin = std::clamp(
        std::chrono::duration_cast<std::chrono::milliseconds>(exchange.deadline.at - Clock::now()),
        std::chrono::milliseconds(1), print_limits::kReachPrinter);
    const char* server = cupsServer();
    exchange.http.reset(httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                     static_cast<int>(connectWithin.count()), nullptr));
    http_t* const http = exchange.http.get();
    if (!http) {
        return exchange.fail(
            PrintOutcome::NoPrintService,
            QStringLiteral("no print server at %1").arg(QString::fromUtf8(server)));
    }
    httpSetTimeout(http, kWakeUpSeconds, waitWhileTimeLeft, &exchange.deadline);

    exchange.dest.reset(cupsGetNamedDest(http, nullptr, nullptr));
    cups_dest_t* const dest = exchange.dest.get();
    if (!dest) {
        if (serverUnreachable(http)) {
            return exchange.fail(
                PrintOutcome::NoPrintService,
                QStringLiteral("print server did not answer: %1").arg(failureText(http)));
        }
        return exchange.fail(PrintOutcome::NoDefaultPrinter, QStringLiteral("no default printer"));
    }
    exchange.name = QString::fromUtf8(dest->name);
    const QString& name = exchange.name;
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    if (state && qstrcmp(state, "5") == 0) {
        return exchange.fail(PrintOutcome::PrinterStopped,
                             QStringLiteral("%1 is stopped").arg(name));
    }
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    if (accepting && qstrcmp(accepting, "false") == 0) {
        return exchange.fail(PrintOutcome::NotAcceptingJobs,
                             QStringLiteral("%1 is not accepting jobs").arg(name));
    }

    exchange.info.reset(cupsCopyDestInfo(http, dest));
    if (!exchange.info) {
        return exchange.fail(
            serverUnreachable(http) ? PrintOutcome::NoPrintService : PrintOutcome::JobRefused,
            QStringLiteral("%1 gave no details: %2").arg(name, failureText(http)));
    }
    exchange.sheet = defaultSheet(http, dest, exchange.info.get());
}

void sendJob(Exchange& exchange, const QByteArray& pdf) {
    cupsSetPasswordCB2(noPassword, nullptr);
    http_t* const http = exchange.http.get();
    cups_dest_t* const dest = exchange.dest.get();
    cups_dinfo_t* const info = exchange.info.get();
    const QString& name = exchange.name;
    const auto lastError = [http] { return failureText(http); };

    // The page is drawn at true size for this very sheet: no shrinking to fit, no other paper.
    cups_option_t* rawOptions = nullptr;
    int optionCount = cupsAddOption("print-scaling", "none", 0, &rawOptions);
    if (!exchange.sheet.media.isEmpty()) {
        optionCount =
            cupsAddOption("media", exchange.sheet.media.constData(), optionCount, &rawOptions);
    }
    const std::unique_ptr<cups_option_t, OptionsFreer> options(rawOptions,
                                                               OptionsFreer{optionCount});

    int jobId = 0;
    const ipp_status_t created =
        cupsCreateDestJob(http, dest, info, &jobId, "Quilvane", optionCount, options.get());
    if (!succeeded(created) || jobId <= 0) {
        return exchange.fail(
            serverUnreachable(http) ? PrintOutcome::NoPrintService : PrintOutcome::JobRefused,
            QStringLiteral("%1 refused the job: %2").arg(name, lastError()));
    }
    const auto abandon = [&](const QString& why) {
        const QString reason =
            QStringLiteral("%1, job %2: %3").arg(name, QString::number(jobId), why);
        cupsCancelDestJob(http, dest, jobId);
        exchange.fail(PrintOutcome::JobRefused, reason);
    };
    if (cupsStartDestDocument(http, dest, info, jobId, "Quilvane", CUPS_FORMAT_PDF, 0, nullptr,
                              1) != HTTP_STATUS_CONTINUE) {
        return abandon(QStringLiteral("document refused: %1").arg(lastError()));
    }
    if (cupsWriteRequestData(http, pdf.constData(), static_cast<size_t>(pdf.size())) !=
        HTTP_STATUS_CONTINUE) {
        cupsFinishDestDocument(http, dest, info);
        return abandon(QStringLiteral("sending failed: %1").arg(lastError()));
    }
    if (!succeeded(cupsFinishDestDocument(http, dest, info))) {
        return abandon(QStringLiteral("document refused: %1").arg(lastError()));
    }
}

}  // namespace

CupsPrinter::CupsPrinter(std::chrono::milliseconds pageTimeLimit) : PagePrinter(pageTimeLimit) {}

PrintOutcome CupsPrinter::put(const PageImage& page, QString& why) {
    // One deadline for the whole page, whichever thread is waiting on the server.
    Exchange exchange(Clock::now() + pageTimeLimit());
    // The server may keep libcups waiting for seconds: not on this thread, which may be the
    // window's. The page paints widgets, so it is drawn here, between the two exchanges, and
    // before the job exists, so that a page that cannot be drawn leaves no empty job.
    // A phase that broke off has failed, whatever it had reached.
    const auto broke = [&exchange](const std::string& why) {
        if (why.empty()) return;
        exchange.fail(PrintOutcome::ExchangeBroken,
                      QStringLiteral("the exchange broke off: %1").arg(QString::fromStdString(why)));
    };
    broke(OffThreadCall::run([&exchange] {
        reachPrinter(exchange);
        if (exchange.failed()) exchange.close();
    }));
    if (!exchange.failed()) {
        const QByteArray pdf = renderPdf(page, exchange.sheet);
        if (pdf.isEmpty())
            exchange.fail(PrintOutcome::DrawingFailed, QStringLiteral("drawing failed"));
        broke(OffThreadCall::run([&exchange, &pdf] {
            if (!exchange.failed()) sendJob(exchange, pdf);
            exchange.close();
        }));
    }
    if (exchange.failed()) {
        why = exchange.why;
        return *exchange.failure;
    }
    return PrintOutcome::Printed;
}

bool printOnDefaultPrinter(const PageImage& page) {
    static CupsPrinter printer;
    return printer.print(page);
}
