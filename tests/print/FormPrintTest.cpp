// The real window printing through the real print server: "Stampa" puts the chart and the mean
// on paper, and when printing fails the window says so once and goes on working.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

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
#include "SystemDesktop.h"
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
// The desktop takes a window that leaves a ping unanswered for 5 s for hung; this is far less,
// and still far above a tick, so that a loaded machine does not fail it.
constexpr auto kTick = 50ms;
// The page itself is drawn on the window's thread, which a sanitizer build does some times
// slower: 250 ms was once just missed there, on a busy machine.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILVANE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(QUILVANE_SANITIZED)
constexpr auto kLongestWait = 500ms;
#else
constexpr auto kLongestWait = 250ms;
#endif

// Input as the window system hands it to Qt: queued, and so held back while the window serves
// only its other events, as it does during a print, then delivered to the window it was aimed at.
using Queued = QWindowSystemInterface::AsynchronousDelivery;

void pressKey(QWindow* window, Qt::Key key, const QString& text = {}) {
    QWindowSystemInterface::handleKeyEvent<Queued>(window, QEvent::KeyPress, key, Qt::NoModifier,
                                                   text);
    QWindowSystemInterface::handleKeyEvent<Queued>(window, QEvent::KeyRelease, key,
                                                   Qt::NoModifier, text);
}

void clickOn(QWidget* widget) {
    QWidget* const window = widget->window();
    const QPoint centre = widget->rect().center();
    const QPointF local = widget->mapTo(window, centre);
    const QPointF global = widget->mapToGlobal(centre);
    QWindowSystemInterface::handleMouseEvent<Queued>(window->windowHandle(), local, global,
                                                     Qt::LeftButton, Qt::LeftButton,
                                                     QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Queued>(window->windowHandle(), local, global,
                                                     Qt::NoButton, Qt::LeftButton,
                                                     QEvent::MouseButtonRelease);
}

void moveOver(QWidget* widget) {
    const QPoint centre = widget->rect().center();
    QWindowSystemInterface::handleMouseEvent<Queued>(
        widget->window()->windowHandle(), widget->mapTo(widget->window(), centre),
        widget->mapToGlobal(centre), Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
}

// A desktop whose messages are the real message boxes, answered by their user with Enter
// through the window system once they have shown. It notes whether the window was still open
// when the last one was answered, and any box that its user's Enter could not close.
class ModalPrintingDesktop : public PrintingDesktop {
public:
    // Long enough for the input made half a second into the print; a silent server costs no more.
    ModalPrintingDesktop() { pageTimeLimit = std::chrono::milliseconds(1500); }

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override {
        PrintingDesktop::showMessage(prompt, style, title);
        QTimer answer;
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                pressKey(box->windowHandle(), Qt::Key_Return);
        });
        // Never stuck on a box its user cannot answer: closed by hand, and counted.
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++unanswered;
                box->reject();
            }
        });
        answer.start(kAnsweredAfter);
        giveUp.start(kGivenUpAfter);
        SystemDesktop().showMessage(prompt, style, title);
        windowOpenWhenDismissed = window && window->isVisible();
    }

    static constexpr std::chrono::milliseconds kAnsweredAfter{300};
    static constexpr std::chrono::milliseconds kGivenUpAfter{5000};
    QPointer<QWidget> window;
    bool windowOpenWhenDismissed = false;
    int unanswered = 0;
};

// The window on a desktop that prints for real.
template <class DesktopType>
struct WindowOn : BasicWindowFixture<DesktopType> {
    // A month's bar, in the client area's logical pixels.
    QRectF bar(int month) const {
        const auto& g = this->drawn(QStringLiteral("Line%1").arg(month + 1)).geometry;
        const double top = std::min(g[1], g[3]);
        const double foot = std::max(g[1], g[3]);
        return {twips::toPixels(g[0]) - kBarWidth / 2.0, twips::toPixels(top), double(kBarWidth),
                twips::toPixels(foot - top)};
    }

    QRectF meanBar() const {
        const auto& g = this->drawn(QStringLiteral("Shape1")).geometry;
        return twips::toPixels(g[0], g[1], g[2], g[3]);
    }

    // January 10, February 20 ... December 120, all twelve months counted: the mean is 65.
    void enterAYear() const {
        for (int month = 1; month <= kMonths; ++month)
            this->type(month, QString::number(10 * month));
        this->pickCount(kMonths);
        this->compute();
    }
};
using Window = WindowOn<PrintingDesktop>;
using ModalWindow = WindowOn<ModalPrintingDesktop>;

// What the user does while the window prints.
enum class UserInput { TypeIntoJanuary, ClickCalcolaMedia, ChooseStampaAgain, CloseTheWindow, All };

void makeInput(const ModalWindow& window, UserInput input) {
    QWindow* const form = window.form->windowHandle();
    const bool all = input == UserInput::All;
    if (all || input == UserInput::TypeIntoJanuary)
        for (const char digit : {'9', '9', '9'})
            pressKey(form, Qt::Key(digit), QString(QLatin1Char(digit)));
    if (all || input == UserInput::ClickCalcolaMedia) clickOn(window.button());
    // The menu itself would not open, its click dropped: the action as a screen reader fires it.
    if (all || input == UserInput::ChooseStampaAgain) window.print();
    // The title bar's close button, or the desktop's close request.
    if (all || input == UserInput::CloseTheWindow)
        QWindowSystemInterface::handleCloseEvent<Queued>(form);
}

QString outputFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("printed"));
}

}  // namespace

Q_DECLARE_METATYPE(UserInput)

class FormPrintTest : public QObject {
    Q_OBJECT

private slots:
    void printsTheBarsAndTheMeanFromTheMenu();
    void saysOnceThatPrintingFailedAndKeepsWorking_data();
    void saysOnceThatPrintingFailedAndKeepsWorking();
    void answersWhilePrinting_data();
    void answersWhilePrinting();
    void dropsInputMadeWhilePrinting_data();
    void dropsInputMadeWhilePrinting();
    void letsADialogShownWhilePrintingBeAnswered();
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
            qPrintable(
                QStringLiteral("month %1's bar is %2% in its colour").arg(month).arg(shown * 100)));
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
    QTest::newRow("when the server refuses the page after making the job") << Kind::DocumentRefused;
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

void FormPrintTest::answersWhilePrinting_data() {
    QTest::addColumn<bool>("silentServer");
    QTest::newRow("to a print server that never answers") << true;
    QTest::newRow("to a printer that prints") << false;
}

// The window's thread goes on serving its events for as long as the print runs: a timer of its
// own keeps ticking, under the busy cursor.
void FormPrintTest::answersWhilePrinting() {
    QFETCH(bool, silentServer);
    Window window;
    window.enterAYear();
    window.desktop.messages.clear();

    PrintedPdfs printed;
    std::optional<PrinterTrouble> silent;
    if (silentServer) {
        silent.emplace(PrinterTrouble::Kind::SilentServer);
        QVERIFY2(silent->failure().isEmpty(), qPrintable(silent->failure()));
    }
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    bool busyAtEveryTick = true;
    QTimer ticker;
    ticker.setInterval(kTick);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyAtEveryTick = busyAtEveryTick && cursor && cursor->shape() == Qt::WaitCursor;
    });
    clock.start();
    ticker.start();
    window.print();
    const qint64 took = clock.elapsed();
    ticker.stop();
    // From the last tick to the print's end too: a print that holds the thread has no ticks.
    longestGap = std::max(longestGap, took - lastTick);

    qInfo("longest wait of the window's timer: %lld ms, during a print of %lld ms", longestGap,
          took);
    QVERIFY2(longestGap < kLongestWait.count(),
             qPrintable(QStringLiteral("the window's timer waited %1 ms of a print of %2 ms")
                            .arg(longestGap)
                            .arg(took)));
    QVERIFY2(busyAtEveryTick, "no busy cursor during the print");
    QVERIFY2(!QGuiApplication::overrideCursor(), "the busy cursor stayed after the print");
    if (silentServer) {
        // Given as long as ever to the server, then the one warning.
        QVERIFY2(took >= print_limits::kPage.count(),
                 qPrintable(QStringLiteral("gave up after %1 ms").arg(took)));
        QCOMPARE(window.desktop.messages.size(), size_t(1));
        QCOMPARE(window.desktop.messages.front().prompt,
                 QStringLiteral("C'è un problema di stampa!"));
        silent.reset();
        QVERIFY(printed.waitForQueueToEmpty(30s).isEmpty());
    } else {
        QVERIFY(window.desktop.messages.empty());
        const QStringList pdfs =
            PrintedPdfs::moveInto(printed.waitForQueueToEmpty(), outputFolder());
        QCOMPARE(pdfs.size(), 1);
    }
}

void FormPrintTest::dropsInputMadeWhilePrinting_data() {
    QTest::addColumn<UserInput>("input");
    QTest::addColumn<bool>("printerWorks");
    QTest::addColumn<bool>("closes");
    QTest::newRow("keys typed into January") << UserInput::TypeIntoJanuary << false << false;
    QTest::newRow("a click on Calcola media:") << UserInput::ClickCalcolaMedia << false << false;
    QTest::newRow("Stampa chosen again") << UserInput::ChooseStampaAgain << false << false;
    QTest::newRow("the desktop asks the window to close")
        << UserInput::CloseTheWindow << false << true;
    QTest::newRow("all of them") << UserInput::All << false << true;
    // No warning comes after a printed page, whose box would take what is played back.
    QTest::newRow("keys and a click while a page prints") << UserInput::TypeIntoJanuary << true
                                                           << false;
    QTest::newRow("all of them while a page prints") << UserInput::All << true << true;
}

// Input made during a print is dropped, not applied when it ends; a second print is not started;
// a request to close waits for the print and its warning.
void FormPrintTest::dropsInputMadeWhilePrinting() {
    QFETCH(UserInput, input);
    QFETCH(bool, printerWorks);
    QFETCH(bool, closes);
    ModalWindow window;
    window.desktop.window = window.form.get();
    window.enterAYear();
    window.box(2)->setFocus();
    window.desktop.messages.clear();
    window.desktop.beeps = 0;
    const double barTop = window.bar(1).top();

    PrintedPdfs printed;
    {
        std::optional<PrinterTrouble> silent;
        if (!printerWorks) {
            silent.emplace(PrinterTrouble::Kind::SilentServer);
            QVERIFY2(silent->failure().isEmpty(), qPrintable(silent->failure()));
        }
        bool printing = false;
        bool printOver = false;
        bool inputDuringPrint = false;
        // Started from an event, as the menu starts it, and handled in that event. A page that
        // prints takes a few milliseconds: its input comes as soon as the print serves events.
        QTimer::singleShot(0, window.form.get(), [&] {
            printing = true;
            QTimer::singleShot(printerWorks ? 0ms : 500ms, window.form.get(), [&] {
                // Before the warning: the print was still on its way.
                inputDuringPrint = printing && window.desktop.messages.empty();
                makeInput(window, input);
                if (printerWorks) clickOn(window.button());
            });
            window.print();
            printing = false;
            printOver = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(printOver, 30000);
        QVERIFY2(inputDuringPrint, "the input came after the print");
    }
    // The pointer moves on: Qt looks at the input it held back when the window system next
    // delivers something, and would play it back then.
    moveOver(window.form.get());
    QTest::qWait(100);

    QCOMPARE(window.desktop.printsAsked, 1);
    QCOMPARE(window.desktop.unanswered, 0);
    if (printerWorks) {
        QVERIFY(window.desktop.messages.empty());
    } else {
        QCOMPARE(window.desktop.messages.size(), size_t(1));
        QCOMPARE(window.desktop.messages.front().prompt,
                 QStringLiteral("C'è un problema di stampa!"));
        QVERIFY2(window.desktop.windowOpenWhenDismissed, "the window closed under its warning");
    }
    QCOMPARE(window.box(2)->text(), QStringLiteral("10"));
    QCOMPARE(window.bar(1).top(), barTop);
    QCOMPARE(window.desktop.beeps, 0);
    if (closes) {
        QTRY_VERIFY2(!window.form->isVisible(), "the window did not close after the print");
    } else {
        QTest::qWait(100);
        QVERIFY(window.form->isVisible());
        // And its user is heard again.
        window.box(2)->clear();
        window.type(1, QStringLiteral("130"));
        QCOMPARE(window.bar(1).top(), barTop - 120);
    }
    const QStringList pdfs = PrintedPdfs::moveInto(printed.waitForQueueToEmpty(30s), outputFolder());
    QCOMPARE(pdfs.size(), printerWorks ? 1 : 0);
}

// A handler reached during a print by other than its user's input, here a screen reader's press
// on "Calcola media:" with a sum too large, shows its warning at once: its user can answer it,
// and the print then goes on to its own end.
void FormPrintTest::letsADialogShownWhilePrintingBeAnswered() {
    ModalWindow window;
    window.enterAYear();
    window.box(2)->setText(QStringLiteral("1E400"));  // pasted: the key filter allows no E
    window.desktop.messages.clear();

    PrintedPdfs printed;
    {
        const PrinterTrouble silent(PrinterTrouble::Kind::SilentServer);
        QVERIFY2(silent.failure().isEmpty(), qPrintable(silent.failure()));
        bool printOver = false;
        QTimer::singleShot(0, window.form.get(), [&] {
            QTimer::singleShot(300ms, window.form.get(), [&] {
                QAccessibleInterface* button = QAccessible::queryAccessibleInterface(window.button());
                button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            });
            window.print();
            printOver = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(printOver, 30000);
    }

    QCOMPARE(window.desktop.unanswered, 0);
    QCOMPARE(window.desktop.messages.size(), size_t(2));
    QVERIFY(window.desktop.messages.front().prompt.contains(QStringLiteral("troppo grandi")));
    QCOMPARE(window.desktop.messages.back().prompt, QStringLiteral("C'è un problema di stampa!"));
    QVERIFY(window.form->isVisible());
    QVERIFY(printed.waitForQueueToEmpty(30s).isEmpty());
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
