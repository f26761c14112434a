// SpoolerPrinter against a spooler that plays what Windows documents and Wine does not show:
// queues that hold jobs, printers that stop, jobs that fail once queued, a driver's question
// cancelled, a printer whose dots are not square, a spooler that stops answering. Its device
// context is a bitmap at the printer's resolution, drawn into by GDI and read back.
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <windows.h>

#include <winspool.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>

#include "PageImage.h"
#include "Spooler.h"
#include "SpoolerPrinter.h"

namespace {

using namespace std::chrono_literals;

enum class Call { None, DefaultPrinter, OpenPrinter, Details, CreateDC, StartDoc, StartPage, EndPage, EndDoc, GetJob };

// What the spooler does on one print.
struct Script {
    DWORD printerStatus = 0;
    DWORD attributes = 0;
    std::vector<DWORD> jobStatuses;  // on each look; past the last the job has left the queue,
    bool jobStays = false;           // or keeps its last status
    DWORD startDocError = 0;
    Call hangs = Call::None;  // answers only once the print is over, and then fails
    Call throws = Call::None;
    bool hasDefault = true;
    std::wstring port = L"USB001";
    std::wstring driver = L"Stampante laser";
    std::wstring asksFor;  // the kind of file the printer must ask for, before the page's time
    std::wstring answer;   // the user's: a path, nothing (cancelled), or "?" (no dialog)
    int dotsDown = 600;
};

constexpr int kDotsAcross = 600;
constexpr int kPageInches = 5;

class ScriptedSpooler final : public Spooler {
public:
    explicit ScriptedSpooler(Script script) : m_script(std::move(script)) {}
    ~ScriptedSpooler() override {
        release();
        waitClosed();
    }

    void release() {
        const std::lock_guard lock(m_lock);
        m_released = true;
        m_changed.notify_all();
    }
    // How many threads called the spooler.
    size_t threads() {
        const std::lock_guard lock(m_lock);
        return m_threads.size();
    }
    // Until the printer has closed all it opened and its thread, which may outlive the print,
    // is in no call.
    bool waitClosed() {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 10s, [this] { return m_open == 0 && m_inCalls == 0; });
    }

    bool docStarted = false;
    bool docEnded = false;
    std::wstring output;
    QImage page;

    BOOL defaultPrinter(std::wstring& name) override {
        const Answer answer(*this, Call::DefaultPrinter);
        if (!answer || !m_script.hasDefault) return fail(ERROR_FILE_NOT_FOUND);
        name = L"Stampante di prova";
        return TRUE;
    }
    BOOL openPrinter(const std::wstring&, HANDLE& printer) override {
        const Answer answer(*this, Call::OpenPrinter);
        if (!answer) return fail(RPC_S_SERVER_UNAVAILABLE);
        printer = reinterpret_cast<HANDLE>(0x51);
        return opened(+1);
    }
    BOOL printerDetails(HANDLE, PrinterDetails& details) override {
        const Answer answer(*this, Call::Details);
        details = {m_script.port, m_script.driver, m_script.printerStatus, m_script.attributes, {}};
        return answer ? TRUE : fail(RPC_S_SERVER_UNAVAILABLE);
    }
    BOOL jobStatus(HANDLE, DWORD, DWORD& status) override {
        const Answer answer(*this, Call::GetJob);
        const std::vector<DWORD>& statuses = m_script.jobStatuses;
        if (!answer || statuses.empty() || (m_looks == statuses.size() && !m_script.jobStays))
            return fail(ERROR_INVALID_PARAMETER);
        status = statuses[std::min(m_looks++, statuses.size() - 1)];
        return TRUE;
    }
    BOOL closePrinter(HANDLE) override { return opened(-1); }

    // A white bitmap as large as the printer's page at its resolution.
    HDC createDC(const std::wstring&, const DEVMODEW*) override {
        const Answer answer(*this, Call::CreateDC);
        if (!answer) return fail(RPC_S_SERVER_UNAVAILABLE), nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kPageInches * kDotsAcross,
                         -kPageInches * m_script.dotsDown, 1, 32, BI_RGB}};
        m_bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_previous = SelectObject(dc, m_bitmap);
        PatBlt(dc, 0, 0, kPageInches * kDotsAcross, kPageInches * m_script.dotsDown, WHITENESS);
        opened(+1);
        return dc;
    }
    int deviceCaps(HDC, int index) override {
        return index == LOGPIXELSY ? m_script.dotsDown : kDotsAcross;
    }
    int startDoc(HDC, const DOCINFOW& document) override {
        const Answer answer(*this, Call::StartDoc);
        if (!answer || m_script.startDocError) return fail(answer ? m_script.startDocError : RPC_S_SERVER_UNAVAILABLE);
        docStarted = true;
        output = document.lpszOutput ? document.lpszOutput : L"";
        return kJobId;
    }
    int startPage(HDC) override { return Answer(*this, Call::StartPage) ? 1 : fail(RPC_S_SERVER_UNAVAILABLE); }
    int endPage(HDC) override { return Answer(*this, Call::EndPage) ? 1 : fail(RPC_S_SERVER_UNAVAILABLE); }
    int endDoc(HDC) override {
        docEnded = bool(Answer(*this, Call::EndDoc));
        return docEnded ? 1 : fail(RPC_S_SERVER_UNAVAILABLE);
    }
    int abortDoc(HDC) override { return 1; }
    BOOL deleteDC(HDC dc) override {
        GdiFlush();
        page = QImage(static_cast<const uchar*>(m_bits), kPageInches * kDotsAcross,
                      kPageInches * m_script.dotsDown, QImage::Format_RGB32).copy();
        SelectObject(dc, m_previous);
        DeleteDC(dc);
        DeleteObject(m_bitmap);
        return opened(-1);
    }

private:
    static constexpr int kJobId = 7;

    // One call from the printer's thread, counted while it runs; false when it hung, then failed.
    class Answer {
    public:
        Answer(ScriptedSpooler& spooler, Call call) : m_spooler(spooler) {
            if (call == spooler.m_script.throws) throw std::runtime_error("the spooler's call threw");
            std::unique_lock lock(spooler.m_lock);
            ++spooler.m_inCalls;
            spooler.m_threads.insert(GetCurrentThreadId());
            if (call != spooler.m_script.hangs) return;
            spooler.m_changed.wait(lock, [&] { return spooler.m_released; });
            m_answered = false;
        }
        ~Answer() {
            const std::lock_guard lock(m_spooler.m_lock);
            --m_spooler.m_inCalls;
            m_spooler.m_changed.notify_all();
        }
        explicit operator bool() const { return m_answered; }

    private:
        ScriptedSpooler& m_spooler;
        bool m_answered = true;
    };

    static BOOL fail(DWORD error) {
        SetLastError(error);
        return FALSE;
    }
    // Told under the lock: the test may end, and the spooler with it, as soon as it sees this.
    BOOL opened(int change) {
        const std::lock_guard lock(m_lock);
        m_threads.insert(GetCurrentThreadId());
        m_open += change;
        m_changed.notify_all();
        return TRUE;
    }

    const Script m_script;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_released = false;
    int m_open = 0;  // printers and device contexts
    int m_inCalls = 0;
    std::set<DWORD> m_threads;  // that made the calls
    size_t m_looks = 0;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

constexpr auto kLimit = 1000ms;
const QColor kMaroon(0x80, 0, 0);

// Red marks 4 inches (384 pixels) apart across and down, and a line of maroon capitals.
const PageImage kPage(QSizeF(411, 415), [](QPainter& painter) {
    for (const QPointF& mark : {QPointF(20, 20), QPointF(404, 20), QPointF(20, 404)})
        painter.fillRect(QRectF(mark - QPointF(3, 3), QSizeF(6, 6)), Qt::red);
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(kMaroon);
    painter.drawText(QPointF(60, 200), QStringLiteral("HHHH HHHH"));
});

struct Printed {
    PrintOutcome outcome;
    qint64 milliseconds;
    int ticks;  // of a 50 ms timer on the calling thread meanwhile
};

// The user answers where to save only after the page's whole time.
Printed printWith(ScriptedSpooler& spooler, const Script& script, std::wstring& askedFor) {
    SpoolerPrinter printer(kLimit, spooler, [&](const std::wstring& kind, QString& why) {
        askedFor = kind;
        QTest::qWait(int(kLimit.count()) + 300);
        if (script.answer == L"?") why = QStringLiteral("no dialog");
        return script.answer.size() > 1 ? std::optional(script.answer) : std::nullopt;
    });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    const PrintOutcome outcome = printer.submit(kPage);
    return {outcome, clock.elapsed(), ticks};
}

struct Row {
    const char* name;
    Script script;
    PrintOutcome outcome;
    bool started;  // whether a job was started
};
using O = PrintOutcome;
// clang-format off
const Row kRows[] = {
    {"job handed to the printer at once", {}, O::Printed, true},
    {"job spooling, then gone", {.jobStatuses = {JOB_STATUS_SPOOLING, JOB_STATUS_PRINTING}}, O::Printed, true},
    {"job still queued when the time is up", {.jobStatuses = {JOB_STATUS_PRINTING}, .jobStays = true}, O::Printed, true},
    {"job waiting behind another", {.jobStatuses = {0}, .jobStays = true}, O::Printed, true},
    {"job printed and being deleted", {.jobStatuses = {JOB_STATUS_PRINTED | JOB_STATUS_DELETING}, .jobStays = true}, O::Printed, true},
    {"job in error", {.jobStatuses = {JOB_STATUS_PRINTING, JOB_STATUS_PRINTING | JOB_STATUS_ERROR}, .jobStays = true}, O::JobRefused, true},
    {"job blocked", {.jobStatuses = {JOB_STATUS_BLOCKED_DEVQ}, .jobStays = true}, O::JobRefused, true},
    {"job needing the user", {.jobStatuses = {JOB_STATUS_USER_INTERVENTION | JOB_STATUS_PAPEROUT}, .jobStays = true}, O::JobRefused, true},
    {"job deleted by someone", {.jobStatuses = {JOB_STATUS_DELETING}, .jobStays = true}, O::JobRefused, true},
    {"printer paused", {.printerStatus = PRINTER_STATUS_PAUSED}, O::PrinterStopped, false},
    {"printer offline", {.printerStatus = PRINTER_STATUS_OFFLINE}, O::PrinterStopped, false},
    {"printer in error", {.printerStatus = PRINTER_STATUS_ERROR}, O::PrinterStopped, false},
    {"printer out of paper", {.printerStatus = PRINTER_STATUS_PAPER_OUT}, O::PrinterStopped, false},
    {"printer set to work offline", {.attributes = PRINTER_ATTRIBUTE_WORK_OFFLINE}, O::PrinterStopped, false},
    {"no default printer", {.hasDefault = false}, O::NoDefaultPrinter, false},
    {"driver's question cancelled", {.startDocError = ERROR_CANCELLED}, O::Cancelled, false},
    {"job refused as it starts", {.startDocError = ERROR_ACCESS_DENIED}, O::JobRefused, false},
    {"StartDoc throws", {.throws = Call::StartDoc}, O::ExchangeBroken, false},
    {"EndDoc throws", {.throws = Call::EndDoc}, O::ExchangeBroken, true},
    {"GetJob throws", {.jobStatuses = {0}, .throws = Call::GetJob}, O::ExchangeBroken, true},
    // A spooler that stops answering in any call: the warning at the page's limit.
    {"silent in GetDefaultPrinter", {.hangs = Call::DefaultPrinter}, O::NoPrintService, false},
    {"silent in OpenPrinter", {.hangs = Call::OpenPrinter}, O::NoPrintService, false},
    {"silent in GetPrinter", {.hangs = Call::Details}, O::NoPrintService, false},
    {"silent in CreateDC", {.hangs = Call::CreateDC}, O::NoPrintService, false},
    {"silent in StartDoc", {.hangs = Call::StartDoc}, O::NoPrintService, false},
    {"silent in StartPage", {.hangs = Call::StartPage}, O::NoPrintService, true},
    {"silent in EndPage", {.hangs = Call::EndPage}, O::JobRefused, true},
    {"silent in EndDoc", {.hangs = Call::EndDoc}, O::JobRefused, true},
    {"silent in GetJob, the job queued", {.jobStatuses = {0}, .hangs = Call::GetJob}, O::Printed, true},
    // Microsoft Print to PDF, the XPS writer and FILE: ports ask where the page goes.
    {"FILE:, a file chosen", {.port = L"FILE:", .asksFor = L"prn", .answer = LR"(C:\Stampe\Quilvane.prn)"}, O::Printed, true},
    {"Print to PDF, a file chosen", {.port = L"PORTPROMPT:", .driver = L"Microsoft Print To PDF", .asksFor = L"pdf", .answer = LR"(C:\Doc\sole.pdf)"}, O::Printed, true},
    {"XPS writer, cancelled", {.port = L"portprompt:", .driver = L"Microsoft XPS Document Writer v4", .asksFor = L"oxps"}, O::Cancelled, false},
    {"FILE:, no dialog to ask in", {.port = L"FILE:", .asksFor = L"prn", .answer = L"?"}, O::JobRefused, false},
};
// clang-format on

}  // namespace

Q_DECLARE_METATYPE(PrintOutcome)

class SpoolerPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRows)); ++i) QTest::addRow("%s", kRows[i].name) << i;
    }

    void outcomes() {
        QFETCH(int, row);
        const Row& expected = kRows[row];
        ScriptedSpooler spooler(expected.script);
        std::wstring askedFor;
        const Printed printed = printWith(spooler, expected.script, askedFor);
        QCOMPARE(printed.outcome, expected.outcome);
        QCOMPARE(askedFor, expected.script.asksFor);
        const bool silent = expected.script.hangs != Call::None;
        const qint64 asking = askedFor.empty() ? 0 : kLimit.count() + 300;
        QVERIFY2(printed.milliseconds < kLimit.count() + 1000 + asking &&
                     (!silent || printed.milliseconds >= kLimit.count() - 50),
                 qPrintable(QStringLiteral("took %1 ms").arg(printed.milliseconds)));
        // However long the spooler is silent, the calling thread serves its events.
        if (silent) QVERIFY2(printed.ticks >= 10, qPrintable(QStringLiteral("%1 ticks").arg(printed.ticks)));
        spooler.release();
        QVERIFY2(spooler.waitClosed(), "the printer or its device context was left open");
        QCOMPARE(spooler.threads(), size_t(1));  // drivers are not promised more than one
        QCOMPARE(spooler.docStarted, expected.started);
        QCOMPARE(spooler.output, expected.started ? expected.script.answer : std::wstring());
        // A job is ended when it is wanted on paper, never when it was not started.
        if (expected.outcome == PrintOutcome::Printed || !expected.started) QCOMPARE(spooler.docEnded, expected.started);
    }

    // The marks 4 inches apart on the printer's dots, across and down; the text in its colour, as
    // high and as wide on paper whatever the dots' shape.
    void trueSizeOnBothAxes() {
        QRect texts[2];
        const int dotsDown[2] = {600, 300};
        for (int i = 0; i < 2; ++i) {
            ScriptedSpooler spooler({.dotsDown = dotsDown[i]});
            std::wstring askedFor;
            QCOMPARE(printWith(spooler, {}, askedFor).outcome, PrintOutcome::Printed);
            QVERIFY(spooler.waitClosed());
            const QImage& page = spooler.page;
            const auto boxOf = [&page](QRect part, QRgb colour) {
                QRect box;
                for (int y = part.top(); y <= part.bottom(); ++y)
                    for (int x = part.left(); x <= part.right(); ++x)
                        if (page.pixel(x, y) == colour) box |= QRect(x, y, 1, 1);
                return box;
            };
            const double across = kDotsAcross / 96.0, down = dotsDown[i] / 96.0;
            const auto mark = [&](QPointF at) {
                const QRect part(int((at.x() - 10) * across), int((at.y() - 10) * down), int(20 * across), int(20 * down));
                return QRectF(boxOf(part, qRgb(255, 0, 0))).center();
            };
            QCOMPARE_LE(std::abs(mark({404, 20}).x() - mark({20, 20}).x() - 4 * kDotsAcross), 3.0);
            QCOMPARE_LE(std::abs(mark({20, 404}).y() - mark({20, 20}).y() - 4 * dotsDown[i]), 3.0);
            texts[i] = boxOf(QRect(0, int(150 * down), page.width(), int(60 * down)), kMaroon.rgb());
            QVERIFY2(!texts[i].isEmpty(), "no text in its colour");
        }
        // Capitals 24 pixels high stand some 17 pixels tall: at 600 dpi, 107 dots.
        QVERIFY2(texts[0].height() > 90 && texts[0].height() < 125,
                 qPrintable(QStringLiteral("text %1 dots high").arg(texts[0].height())));
        QCOMPARE_LE(std::abs(texts[1].height() * 2 - texts[0].height()), 4);
        QCOMPARE_LE(std::abs(texts[1].width() - texts[0].width()), texts[0].width() / 20);
    }
};

QTEST_MAIN(SpoolerPrinterTest)
#include "SpoolerPrinterTest.moc"
