// One keystroke in a month box of the real window on the offscreen platform: the key filter,
// the Change handler, the bar's move and the repaint it causes, timed keystroke by keystroke.
// Besides the time, each run reports how many pixels Qt repainted per keystroke: on the client
// area (where the bars are drawn) apart from the box, on the client area beneath the box (a
// line edit is not opaque, so Qt repaints its parent under it), on the box itself, elsewhere.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <vector>

#include "Form1.h"
#include "FormCanvas.h"
#include "FormPainter.h"
#include "PaintCounter.h"
#include "QuietDesktop.h"

namespace {

using Clock = std::chrono::steady_clock;

// January's box and bar would do as well; a month in the middle of the chart is typical.
const QString kBoxName = QStringLiteral("Text7");
constexpr std::string_view kBarName = "Line7";
// A starting value whose bar every typed digit, and every Backspace, moves.
const QString kStartText = QStringLiteral("12");

struct Window {
    Form1* form = nullptr;
    QLineEdit* box = nullptr;
    PaintCounter* paints = nullptr;
};

Window g_window;

void type(QLineEdit* box, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

// Delivers the update requests the keystroke posted, so its repaint happens now.
void flush() {
    QApplication::processEvents();
}

void typeDigit() {
    type(g_window.box, Qt::Key_3, QStringLiteral("3"));
    flush();
}

void typeBackspace() {
    type(g_window.box, Qt::Key_Backspace, QString(QChar(u'\b')));
    flush();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    const auto at = values.begin() + std::ptrdiff_t(double(values.size() - 1) * fraction);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Times one kind of keystroke; the other one, untimed, brings the text back to where it was.
void keystroke(benchmark::State& state, void (*timed)(), void (*undo)(), bool digitFirst) {
    Window& w = g_window;
    const FormCanvas& canvas = w.form->canvas();
    w.box->setText(kStartText);
    flush();
    const DrawnControl barBefore = *canvas.drawnControl(kBarName);
    typeDigit();
    const DrawnControl barAfter = *canvas.drawnControl(kBarName);
    typeBackspace();
    // All a keystroke needs to repaint of the chart: the strip the bar's top moves along.
    const QRect barColumn = (form_painter::extent(barBefore).toAlignedRect() |
                             form_painter::extent(barAfter).toAlignedRect()) &
                            canvas.rect();

    std::vector<double> micros;
    micros.reserve(1 << 16);
    qint64 canvasArea = 0;
    qint64 underBoxArea = 0;
    qint64 boxArea = 0;
    qint64 allArea = 0;
    qint64 paintEvents = 0;
    for (auto _ : state) {
        if (!digitFirst) undo();
        w.paints->reset();
        const Clock::time_point start = Clock::now();
        timed();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        canvasArea += w.paints->area(&canvas);
        underBoxArea += PaintCounter::areaOf(w.paints->region(&canvas) & w.box->geometry());
        boxArea += w.paints->area(w.box);
        allArea += w.paints->totalArea();
        paintEvents += w.paints->events();
        if (digitFirst) undo();
    }
    if (w.box->text() != kStartText || barAfter.y2() == barBefore.y2() ||
        canvas.drawnControl(kBarName)->y2() != barBefore.y2()) {
        state.SkipWithError("the keystrokes did not move the bar and bring it back");
        return;
    }
    const auto perKey = [&state](qint64 total) {
        return benchmark::Counter(double(total) / double(std::max<int64_t>(state.iterations(), 1)));
    };
    state.counters["median_us"] = median(micros);
    state.counters["p90_us"] = percentile(micros, 0.9);
    state.counters["client_px"] = perKey(canvasArea - underBoxArea);
    state.counters["bar_column_px"] = double(barColumn.width()) * barColumn.height();
    state.counters["under_box_px"] = perKey(underBoxArea);
    state.counters["box_px"] = perKey(boxArea);
    state.counters["elsewhere_px"] = perKey(allArea - canvasArea - boxArea);
    state.counters["paints"] = perKey(paintEvents);
}

void BM_DigitKeystroke(benchmark::State& state) {
    keystroke(state, typeDigit, typeBackspace, true);
}

void BM_BackspaceKeystroke(benchmark::State& state) {
    keystroke(state, typeBackspace, typeDigit, false);
}

// For scale: what repainting the whole client area costs.
void BM_WholeClientRepaint(benchmark::State& state) {
    FormCanvas& canvas = g_window.form->canvas();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        canvas.repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["client_px"] = double(canvas.width()) * canvas.height();
}

}  // namespace

BENCHMARK(BM_DigitKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackspaceKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeClientRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // A blinking cursor would add a repaint of its own, now and then, to the timed keystrokes.
    QApplication::setCursorFlashTime(0);

    QuietDesktop desktop;
    Form1 form(desktop);
    form.show();
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(5);
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && Clock::now() < giveUp)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    auto* box = form.findChild<QLineEdit*>(kBoxName);
    if (!box || !form.canvas().drawnControl(kBarName)) {
        std::fprintf(stderr, "keystroke_benchmark: the window has no %s or %s\n",
                     qPrintable(kBoxName), kBarName.data());
        return 1;
    }
    form.activateWindow();
    box->setFocus();
    flush();

    PaintCounter paints;
    application.installEventFilter(&paints);
    g_window = {&form, box, &paints};

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
