// SpoolerPrinter against a spooler that plays what Windows documents and Wine does not show:
// queues that hold jobs, printers that stop, jobs that fail once queued, a driver's question
// cancelled, a printer whose dots are not square, a spooler that stops answering. The page is
// drawn by GDI into a bitmap of the printer's resolution, and read back.
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <windows.h>

#include <winspool.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>

#include "PageImage.h"
#include "Spooler.h"
#include "SpoolerPrinter.h"

namespace {

using namespace std::chrono_literals;

enum class Call { None, DefaultPrinter, OpenPrinter, Details, CreateDC, StartDoc, StartPage, EndPage, EndDoc, JobStatus };

// What the spooler does on one print.
struct Script {
    bool hasDefault = true;
    DWORD printerStatus = 0;
    DWORD attributes = 0;
    std::wstring port = L"USB001";
    std::wstring driver = L"Stampante laser";
    int dotsAcross = 600;
    int dotsDown = 600;
    DWORD startDocError = 0;
    // The job's status on each look; past the last, the job has left the queue, or keeps the
    // last status when jobStays.
    std::vector<DWORD> jobStatuses;
    bool jobStays = false;
    Call hangs = Call::None;   // answers only once the row is over, and then with a failure
    Call throws = Call::None;  // throws instead of answering
};

constexpr int kPageInches = 5;

class ScriptedSpooler final : public Spooler {
public:
    explicit ScriptedSpooler(Script script) : m_script(std::move(script)) {}

    ~ScriptedSpooler() override {
        release();
        waitClosed();
        if (m_bitmap) DeleteObject(m_bitmap);
    }

    // Lets a hanging call answer.
    void release() {
        const std::lock_guard lock(m_lock);
        m_released = true;
        m_changed.notify_all();
    }
    // Until the printer has closed everything it opened, and its thread is in no call: the
    // thread may outlive the print.
    bool waitClosed() {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 10s, [this] {
            return m_openPrinters == 0 && m_openDCs == 0 && m_inCalls == 0;
        });
    }

    bool docStarted() const { return m_docStarted; }
    bool docEnded() const { return m_docEnded; }
    std::wstring output() const { return m_output; }
    QImage page() const { return m_page; }

    BOOL defaultPrinter(std::wstring& name) override {
        const InCall inCall(*this);
        if (!answers(Call::DefaultPrinter)) return fail(RPC_S_SERVER_UNAVAILABLE);
        if (!m_script.hasDefault) return fail(ERROR_FILE_NOT_FOUND);
        name = L"Stampante di prova";
        return TRUE;
    }
    BOOL openPrinter(const std::wstring&, HANDLE& printer) override {
        const InCall inCall(*this);
        if (!answers(Call::OpenPrinter)) return fail(RPC_S_SERVER_UNAVAILABLE);
        printer = reinterpret_cast<HANDLE>(0x51);
        changeCount(m_openPrinters, +1);
        return TRUE;
    }
    BOOL printerDetails(HANDLE, PrinterDetails& details) override {
        const InCall inCall(*this);
        if (!answers(Call::Details)) return fail(RPC_S_SERVER_UNAVAILABLE);
        details.port = m_script.port;
        details.driver = m_script.driver;
        details.status = m_script.printerStatus;
        details.attributes = m_script.attributes;
        return TRUE;
    }
    BOOL jobStatus(HANDLE, DWORD jobId, DWORD& status) override {
        const InCall inCall(*this);
        if (!answers(Call::JobStatus)) return fail(RPC_S_SERVER_UNAVAILABLE);
        if (jobId != kJobId) return fail(ERROR_INVALID_PARAMETER);
        if (m_looks < m_script.jobStatuses.size()) {
            status = m_script.jobStatuses[m_looks++];
            return TRUE;
        }
        if (!m_script.jobStays || m_script.jobStatuses.empty()) return fail(ERROR_INVALID_PARAMETER);
        status = m_script.jobStatuses.back();
        return TRUE;
    }
    BOOL closePrinter(HANDLE) override {
        const InCall inCall(*this);
        changeCount(m_openPrinters, -1);
        return TRUE;
    }

    // A bitmap as large as the printer's page at its resolution, white.
    HDC createDC(const std::wstring&, const DEVMODEW*) override {
        const InCall inCall(*this);
        if (!answers(Call::CreateDC)) return fail(RPC_S_SERVER_UNAVAILABLE), nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kPageInches * m_script.dotsAcross;
        info.bmiHeader.biHeight = -kPageInches * m_script.dotsDown;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_previous = SelectObject(dc, m_bitmap);
        PatBlt(dc, 0, 0, info.bmiHeader.biWidth, -info.bmiHeader.biHeight, WHITENESS);
        changeCount(m_openDCs, +1);
        return dc;
    }
    int deviceCaps(HDC dc, int index) override {
        const InCall inCall(*this);
        if (index == LOGPIXELSX) return m_script.dotsAcross;
        if (index == LOGPIXELSY) return m_script.dotsDown;
        return GetDeviceCaps(dc, index);
    }
    int startDoc(HDC, const DOCINFOW& document) override {
        const InCall inCall(*this);
        if (!answers(Call::StartDoc)) return fail(RPC_S_SERVER_UNAVAILABLE);
        if (m_script.startDocError) return fail(m_script.startDocError);
        m_docStarted = true;
        m_output = document.lpszOutput ? document.lpszOutput : L"";
        return kJobId;
    }
    int startPage(HDC) override {
        const InCall inCall(*this);
        return answers(Call::StartPage) ? 1 : fail(RPC_S_SERVER_UNAVAILABLE);
    }
    int endPage(HDC) override {
        const InCall inCall(*this);
        return answers(Call::EndPage) ? 1 : fail(RPC_S_SERVER_UNAVAILABLE);
    }
    int endDoc(HDC) override {
        const InCall inCall(*this);
        if (!answers(Call::EndDoc)) return fail(RPC_S_SERVER_UNAVAILABLE);
        m_docEnded = true;
        return 1;
    }
    int abortDoc(HDC) override { return 1; }
    BOOL deleteDC(HDC dc) override {
        const InCall inCall(*this);
        GdiFlush();
        const int width = kPageInches * m_script.dotsAcross;
        const int height = kPageInches * m_script.dotsDown;
        m_page = QImage(static_cast<const uchar*>(m_bits), width, height, QImage::Format_RGB32).copy();
        SelectObject(dc, m_previous);
        DeleteDC(dc);
        changeCount(m_openDCs, -1);
        return TRUE;
    }

private:
    static constexpr int kJobId = 7;

    static BOOL fail(DWORD error) {
        SetLastError(error);
        return FALSE;
    }
    // One call on the printer's thread, counted while it runs.
    class InCall {
    public:
        explicit InCall(ScriptedSpooler& spooler) : m_spooler(spooler) {
            const std::lock_guard lock(spooler.m_lock);
            ++spooler.m_inCalls;
        }
        ~InCall() {
            const std::lock_guard lock(m_spooler.m_lock);
            --m_spooler.m_inCalls;
            m_spooler.m_changed.notify_all();
        }

    private:
        ScriptedSpooler& m_spooler;
    };

    // Whether the call answers as asked; a hanging one waits for the row's end, then fails.
    bool answers(Call call) {
        if (call == m_script.throws) throw std::runtime_error("the spooler's call threw");
        if (call != m_script.hangs) return true;
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_released; });
        return false;
    }
    // Told under the lock: the test may end, and the spooler with it, as soon as it sees this.
    void changeCount(int& count, int by) {
        const std::lock_guard lock(m_lock);
        count += by;
        m_changed.notify_all();
    }

    const Script m_script;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_released = false;
    int m_openPrinters = 0;
    int m_openDCs = 0;
    int m_inCalls = 0;
    size_t m_looks = 0;
    bool m_docStarted = false;
    bool m_docEnded = false;
    std::wstring m_output;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
    QImage m_page;
};

constexpr auto kLimit = 1000ms;
const QColor kMaroon(0x80, 0, 0);

// Red marks 4 inches (384 pixels) apart across and down, and a line of maroon text.
void paintTestPage(QPainter& painter) {
    for (const QPointF& mark : {QPointF(20, 20), QPointF(404, 20), QPointF(20, 404)})
        painter.fillRect(QRectF(mark - QPointF(3, 3), QSizeF(6, 6)), Qt::red);
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(kMaroon);
    painter.drawText(QPointF(60, 200), QStringLiteral("HHHH HHHH"));
}
const PageImage kPage(QSizeF(411, 415), paintTestPage);

// The bounding box of a colour's pixels in part of the page.
QRect boxOf(const QImage& page, const QRect& part, QRgb colour) {
    QRect box;
    for (int y = part.top(); y <= part.bottom() && y < page.height(); ++y)
        for (int x = part.left(); x <= part.right() && x < page.width(); ++x)
            if ((page.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

struct Printed {
    PrintOutcome outcome;
    qint64 milliseconds;
    int ticks;  // of a 50 ms timer on the calling thread meanwhile
};

Printed printWith(ScriptedSpooler& spooler, SpoolerPrinter::AskWhereToSave ask = {}) {
    if (!ask) ask = [](const std::wstring&, QString&) -> std::optional<std::wstring> {
        throw std::logic_error("asked where to save for a printer that asks for nothing");
    };
    SpoolerPrinter printer(kLimit, spooler, ask);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    const PrintOutcome outcome = printer.submit(kPage);
    return {outcome, clock.elapsed(), ticks};
}

}  // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(PrintOutcome)

class SpoolerPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<PrintOutcome>("outcome");
        QTest::addColumn<bool>("started");
        const auto job = [](std::vector<DWORD> statuses, bool stays = false) {
            Script script;
            script.jobStatuses = std::move(statuses);
            script.jobStays = stays;
            return script;
        };
        const auto printer = [](DWORD status, DWORD attributes = 0) {
            Script script;
            script.printerStatus = status;
            script.attributes = attributes;
            return script;
        };
        Script noDefault;
        noDefault.hasDefault = false;
        Script cancelled;
        cancelled.startDocError = ERROR_CANCELLED;
        Script refused;
        refused.startDocError = ERROR_ACCESS_DENIED;

        QTest::addRow("job handed to the printer at once") << Script{} << PrintOutcome::Printed << true;
        QTest::addRow("job spooling, then gone")
            << job({JOB_STATUS_SPOOLING, JOB_STATUS_PRINTING}) << PrintOutcome::Printed << true;
        QTest::addRow("job still queued when the time is up")
            << job({JOB_STATUS_PRINTING}, true) << PrintOutcome::Printed << true;
        QTest::addRow("job waiting behind another")
            << job({0}, true) << PrintOutcome::Printed << true;
        QTest::addRow("job printed and being deleted")
            << job({JOB_STATUS_PRINTED | JOB_STATUS_DELETING}, true) << PrintOutcome::Printed << true;
        QTest::addRow("job in error")
            << job({JOB_STATUS_PRINTING, JOB_STATUS_PRINTING | JOB_STATUS_ERROR}, true)
            << PrintOutcome::JobRefused << true;
        QTest::addRow("job blocked") << job({JOB_STATUS_BLOCKED_DEVQ}, true) << PrintOutcome::JobRefused << true;
        QTest::addRow("job needing the user")
            << job({JOB_STATUS_USER_INTERVENTION | JOB_STATUS_PAPEROUT}, true)
            << PrintOutcome::JobRefused << true;
        QTest::addRow("job deleted from the queue by someone")
            << job({JOB_STATUS_DELETING}, true) << PrintOutcome::JobRefused << true;
        QTest::addRow("printer paused") << printer(PRINTER_STATUS_PAUSED) << PrintOutcome::PrinterStopped << false;
        QTest::addRow("printer offline") << printer(PRINTER_STATUS_OFFLINE) << PrintOutcome::PrinterStopped << false;
        QTest::addRow("printer in error") << printer(PRINTER_STATUS_ERROR) << PrintOutcome::PrinterStopped << false;
        QTest::addRow("printer out of paper")
            << printer(PRINTER_STATUS_PAPER_OUT) << PrintOutcome::PrinterStopped << false;
        QTest::addRow("printer set to work offline")
            << printer(0, PRINTER_ATTRIBUTE_WORK_OFFLINE) << PrintOutcome::PrinterStopped << false;
        QTest::addRow("no default printer") << noDefault << PrintOutcome::NoDefaultPrinter << false;
        QTest::addRow("driver's question cancelled") << cancelled << PrintOutcome::Cancelled << false;
        QTest::addRow("job refused as it starts") << refused << PrintOutcome::JobRefused << false;
        for (const auto& [call, name] : {std::pair{Call::StartDoc, "StartDoc"}, {Call::EndPage, "EndPage"},
                                         {Call::EndDoc, "EndDoc"}, {Call::JobStatus, "GetJob"}}) {
            Script throws = job({JOB_STATUS_PRINTING});
            throws.throws = call;
            QTest::addRow("%s throws", name) << throws << PrintOutcome::ExchangeBroken
                                             << (call != Call::StartDoc);
        }
    }

    void outcomes() {
        QFETCH(Script, script);
        QFETCH(PrintOutcome, outcome);
        QFETCH(bool, started);
        ScriptedSpooler spooler(script);
        const Printed printed = printWith(spooler);
        QCOMPARE(printed.outcome, outcome);
        QVERIFY2(printed.milliseconds < kLimit.count() + 400,
                 qPrintable(QStringLiteral("took %1 ms").arg(printed.milliseconds)));
        QVERIFY2(spooler.waitClosed(), "the printer or its device context was left open");
        QCOMPARE(spooler.docStarted(), started);
        // A page is ended only when it is wanted on paper.
        if (outcome == PrintOutcome::Printed) QVERIFY(spooler.docEnded());
        if (!started) QVERIFY(!spooler.docEnded());
    }

    // A print the user cancels is no failure: the window says nothing.
    void cancelledIsNoFailure() {
        Script script;
        script.startDocError = ERROR_CANCELLED;
        ScriptedSpooler spooler(script);
        SpoolerPrinter printer(kLimit, spooler, {});
        QVERIFY(printer.print(kPage));
        script.startDocError = ERROR_ACCESS_DENIED;
        ScriptedSpooler refusing(script);
        SpoolerPrinter refused(kLimit, refusing, {});
        QVERIFY(!refused.print(kPage));
    }

    // However long a call keeps the spooler silent, the warning comes at the page's limit, and
    // the calling thread serves its events meanwhile.
    void silentSpooler_data() {
        QTest::addColumn<Call>("call");
        QTest::addColumn<PrintOutcome>("outcome");
        QTest::addRow("GetDefaultPrinter") << Call::DefaultPrinter << PrintOutcome::NoPrintService;
        QTest::addRow("OpenPrinter") << Call::OpenPrinter << PrintOutcome::NoPrintService;
        QTest::addRow("GetPrinter") << Call::Details << PrintOutcome::NoPrintService;
        QTest::addRow("CreateDC") << Call::CreateDC << PrintOutcome::NoPrintService;
        QTest::addRow("StartDoc") << Call::StartDoc << PrintOutcome::NoPrintService;
        QTest::addRow("StartPage") << Call::StartPage << PrintOutcome::NoPrintService;
        QTest::addRow("EndPage") << Call::EndPage << PrintOutcome::JobRefused;
        QTest::addRow("EndDoc") << Call::EndDoc << PrintOutcome::JobRefused;
        QTest::addRow("GetJob") << Call::JobStatus << PrintOutcome::JobRefused;
    }

    void silentSpooler() {
        QFETCH(Call, call);
        QFETCH(PrintOutcome, outcome);
        Script script;
        script.jobStatuses = {JOB_STATUS_PRINTING};
        script.hangs = call;
        ScriptedSpooler spooler(script);
        const Printed printed = printWith(spooler);
        QCOMPARE(printed.outcome, outcome);
        QVERIFY2(printed.milliseconds >= kLimit.count() - 50 && printed.milliseconds < kLimit.count() + 400,
                 qPrintable(QStringLiteral("gave up after %1 ms").arg(printed.milliseconds)));
        QVERIFY2(printed.ticks >= 10, qPrintable(QStringLiteral("%1 ticks served").arg(printed.ticks)));
        // Answered at last, the printer's thread closes what it opened, on its own.
        spooler.release();
        QVERIFY2(spooler.waitClosed(), "the printer or its device context was left open");
    }

    // The marks 4 inches apart on the printer's dots, across and down; the text as high and as
    // wide on paper whatever the dots' shape, in its colour.
    void trueSizeOnBothAxes() {
        QRect texts[2];
        const int dotsDown[2] = {600, 300};
        for (int i = 0; i < 2; ++i) {
            Script script;
            script.dotsDown = dotsDown[i];
            ScriptedSpooler spooler(script);
            QCOMPARE(printWith(spooler).outcome, PrintOutcome::Printed);
            QVERIFY(spooler.waitClosed());
            const QImage page = spooler.page();
            const double across = 600 / 96.0, down = dotsDown[i] / 96.0;
            const auto centre = [&](QPointF at) {
                const QRect part(int((at.x() - 10) * across), int((at.y() - 10) * down),
                                 int(20 * across), int(20 * down));
                return QRectF(boxOf(page, part, qRgb(255, 0, 0))).center();
            };
            const QPointF topLeft = centre({20, 20});
            QCOMPARE_LE(std::abs(centre({404, 20}).x() - topLeft.x() - 4 * 600), 3.0);
            QCOMPARE_LE(std::abs(centre({20, 404}).y() - topLeft.y() - 4 * dotsDown[i]), 3.0);
            texts[i] = boxOf(page, QRect(0, int(150 * down), page.width(), int(60 * down)), kMaroon.rgb());
            QVERIFY2(!texts[i].isEmpty(), "no text in its colour");
        }
        // Capitals 24 pixels high stand some 17 pixels tall: at 600 dpi, 107 dots.
        QVERIFY2(texts[0].height() > 90 && texts[0].height() < 125,
                 qPrintable(QStringLiteral("text %1 dots high").arg(texts[0].height())));
        QCOMPARE_LE(std::abs(texts[1].height() * 2 - texts[0].height()), 4);
        QCOMPARE_LE(std::abs(texts[1].width() - texts[0].width()), texts[0].width() / 20);
    }

    // Microsoft Print to PDF, the XPS writer and FILE: ports ask where the page goes, before the
    // page's time starts; a printer on a port of its own does not.
    void printerThatAsksForAFile_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<PrintOutcome>("outcome");
        QTest::addRow("FILE:, a file chosen") << "FILE:" << "HP LaserJet" << R"(C:\Stampe\Quilvane.prn)"
                                              << "prn" << PrintOutcome::Printed;
        QTest::addRow("Print to PDF, a file chosen")
            << "PORTPROMPT:" << "Microsoft Print To PDF" << R"(C:\Documenti\sole.pdf)" << "pdf"
            << PrintOutcome::Printed;
        QTest::addRow("XPS writer, cancelled")
            << "portprompt:" << "Microsoft XPS Document Writer v4" << "" << "oxps" << PrintOutcome::Cancelled;
        QTest::addRow("FILE:, cancelled") << "FILE:" << "HP LaserJet" << "" << "prn" << PrintOutcome::Cancelled;
    }

    void printerThatAsksForAFile() {
        QFETCH(QString, port);
        QFETCH(QString, driver);
        QFETCH(QString, chosen);
        QFETCH(QString, extension);
        QFETCH(PrintOutcome, outcome);
        Script script;
        script.port = port.toStdWString();
        script.driver = driver.toStdWString();
        ScriptedSpooler spooler(script);
        QString askedFor;
        // The user takes longer than the page's whole time to choose.
        const Printed printed = printWith(spooler, [&](const std::wstring& kind, QString&) {
            askedFor = QString::fromStdWString(kind);
            QTest::qWait(int(kLimit.count()) + 300);
            return chosen.isEmpty() ? std::nullopt : std::optional(chosen.toStdWString());
        });
        QCOMPARE(printed.outcome, outcome);
        QCOMPARE(askedFor, extension);
        QVERIFY(spooler.waitClosed());
        QCOMPARE(spooler.docStarted(), !chosen.isEmpty());
        QCOMPARE(QString::fromStdWString(spooler.output()), chosen);
    }

    void questionThatCannotBeAsked() {
        Script script;
        script.port = L"FILE:";
        ScriptedSpooler spooler(script);
        const Printed printed = printWith(spooler, [](const std::wstring&, QString& why) {
            why = QStringLiteral("no dialog");
            return std::optional<std::wstring>();
        });
        QCOMPARE(printed.outcome, PrintOutcome::JobRefused);
        QVERIFY(spooler.waitClosed());
        QVERIFY(!spooler.docStarted());
    }
};

QTEST_MAIN(SpoolerPrinterTest)
#include "SpoolerPrinterTest.moc"
