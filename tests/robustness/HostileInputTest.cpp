#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleHints>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>

#include "Form1.h"
#include "FormCanvas.h"
#include "HostileUser.h"
#include "OneTestOfMany.h"
#include "StepWatchdog.h"
#include "WindowFixture.h"
#include "WindowInvariants.h"

namespace {

constexpr std::uint64_t kDefaultSeed = 20240611;
constexpr qint64 kDefaultActions = 20000;
// Far above any step's honest cost, even under the sanitizers: only a hang gets this slow. It is
// counted in the process's CPU time, which a busy machine does not stretch as it does the clock;
// a step that blocks instead of working is the watchdog's.
constexpr qint64 kHangNanoseconds = 5'000'000'000;
// A step still running after this long will not return: the run is aborted with its story.
constexpr std::chrono::seconds kNeverReturns{60};
constexpr int kRememberedActions = 25;

qint64 cpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// QUILVANE_SEED replays a run; "time" asks for a fresh one.
std::uint64_t seedFromEnvironment() {
    const QByteArray text = qgetenv("QUILVANE_SEED").trimmed();
    if (text.isEmpty()) return kDefaultSeed;
    if (text == "time")
        return std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    bool ok = false;
    const std::uint64_t seed = text.toULongLong(&ok, 0);
    if (!ok) qFatal("QUILVANE_SEED must be a number or \"time\", not \"%s\"", text.constData());
    return seed;
}

qint64 actionsFromEnvironment() {
    const QByteArray text = qgetenv("QUILVANE_ACTIONS").trimmed();
    if (text.isEmpty()) return kDefaultActions;
    bool ok = false;
    const qint64 actions = text.toLongLong(&ok);
    if (!ok || actions < 0)
        qFatal("QUILVANE_ACTIONS must be a count, not \"%s\"", text.constData());
    return actions;
}

// The test tools warn about every event a widget ignores, which a hostile user causes all
// the time; fonts without shaping tables for the odd script and the offscreen platform's
// missing grabs are the test machine's, not the window's. Anything else Qt says is counted and
// shown at the end.
QtMessageHandler g_previousHandler = nullptr;
QMap<QString, int> g_warnings;
int g_environmentNoise = 0;

bool isEnvironmentNoise(const QString& message) {
    return message.contains(QLatin1StringView("not accepted by receiving widget")) ||
           message.contains(QLatin1StringView("OpenType support missing for")) ||
           message.contains(QLatin1StringView("This plugin does not support"));
}

void countWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        if (isEnvironmentNoise(message)) {
            ++g_environmentNoise;
            return;
        }
        if (++g_warnings[message.left(200)] > 1) return;
    }
    g_previousHandler(type, context, message);
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomActionsKeepTheWindowSound();
    void windowStillAnswersAfterwards();
    void cleanupTestCase();

private:
    std::unique_ptr<WindowFixture> m_window;
};

void HostileInputTest::initTestCase() {
    g_previousHandler = qInstallMessageHandler(countWarnings);
    // Type-ahead in the list and triple clicks in a box depend on real time between events; a
    // replay must not depend on how fast the machine runs, so neither spans two actions.
    QGuiApplication::styleHints()->setKeyboardInputInterval(-1);
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    m_window = std::make_unique<WindowFixture>();
    QVERIFY(m_window->form->isActiveWindow());
}

void HostileInputTest::randomActionsKeepTheWindowSound() {
    const std::uint64_t seed = seedFromEnvironment();
    const qint64 actions = actionsFromEnvironment();
    const bool trace = qEnvironmentVariableIsSet("QUILVANE_TRACE");
    // Exploring a window with a known fault: run to the end, then list every kind of problem.
    const bool keepGoing = qEnvironmentVariableIsSet("QUILVANE_KEEP_GOING");
    QMap<QString, QPair<int, QString>> problemKinds;  // kind -> count, first report
    qInfo(
        "seed %llu, %lld actions (replay: QUILVANE_SEED=%llu QUILVANE_ACTIONS=%lld, "
        "QUILVANE_TRACE=1 lists every action)",
        static_cast<unsigned long long>(seed), actions, static_cast<unsigned long long>(seed),
        actions);

    Form1& form = *m_window->form;
    HostileUser user(form, m_window->desktop, seed);
    StepWatchdog watchdog(seed, kNeverReturns);
    WindowInvariants invariants(form, m_window->desktop);
    QStringList recent;
    // Equal fingerprints: the replay took the same actions, with the same outcomes logged.
    QCryptographicHash fingerprint(QCryptographicHash::Sha1);
    qint64 slowest = 0;
    qint64 slowestStep = -1;
    QElapsedTimer run;
    run.start();

    for (qint64 step = 0; step < actions; ++step) {
        watchdog.stepStarted(step, recent);
        const qint64 started = cpuNanoseconds();
        const HostileUser::Action action = user.act(step);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QStringList problems = invariants.check(action);
        const qint64 elapsed = cpuNanoseconds() - started;

        const QString line = QStringLiteral("#%1 %2").arg(step).arg(action.description);
        fingerprint.addData(line.toUtf8());
        // Straight to stderr: the test log stops after 2000 messages.
        if (trace) std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        recent.append(line);
        if (recent.size() > kRememberedActions) recent.removeFirst();
        if (elapsed > slowest) {
            slowest = elapsed;
            slowestStep = step;
        }
        if (!form.isActiveWindow()) {
            form.activateWindow();
            QCoreApplication::processEvents();
        }

        if (problems.isEmpty() && elapsed <= kHangNanoseconds) continue;
        QString report = QStringLiteral("seed %1, step %2:").arg(seed).arg(step);
        for (const QString& problem : problems) report += QStringLiteral("\n  ") + problem;
        if (elapsed > kHangNanoseconds)
            report +=
                QStringLiteral("\n  the step took %1 ms of CPU time").arg(elapsed / 1'000'000);
        report += QStringLiteral("\nlast actions:\n  ") + recent.join(QStringLiteral("\n  "));
        if (!keepGoing) QFAIL(qPrintable(report));
        const QStringList kinds =
            problems.isEmpty() ? QStringList{QStringLiteral("slow step")} : problems;
        for (QString kind : kinds) {
            // One kind for every such problem, whatever the control, number or text.
            if (const qsizetype colon = kind.indexOf(QLatin1StringView(": ")); colon > 0)
                kind.truncate(colon);
            static const QRegularExpression details(
                QStringLiteral("\"[^\"]*\"|[0-9]+([.][0-9]+)?(e[-+]?[0-9]+)?"));
            kind.replace(details, QStringLiteral("#"));
            auto& [count, first] = problemKinds[kind];
            if (count++ == 0) first = report;
        }
    }

    qInfo(
        "%lld actions done in %lld ms with seed %llu; slowest step #%lld took %lld ms of CPU; "
        "%lld messages, %d means, %d pages painted",
        actions, run.elapsed(), static_cast<unsigned long long>(seed), slowestStep,
        slowest / 1'000'000, static_cast<long long>(m_window->desktop.messages.size()),
        m_window->desktop.beeps, m_window->desktop.pagesPainted);
    qInfo("%s; run fingerprint %s", qPrintable(invariants.summary()),
          fingerprint.result().toHex().left(16).constData());
    qInfo("%d warnings of the test tools and the offscreen platform left out", g_environmentNoise);
    for (auto it = g_warnings.cbegin(); it != g_warnings.cend(); ++it)
        qInfo("Qt said %d times: %s", it.value(), qPrintable(it.key()));
    if (problemKinds.isEmpty()) return;
    QString summary = QStringLiteral("%1 kinds of problem:").arg(problemKinds.size());
    for (auto it = problemKinds.cbegin(); it != problemKinds.cend(); ++it)
        summary += QStringLiteral("\n\n%1 times: %2\nfirst: %3")
                       .arg(it.value().first)
                       .arg(it.key(), it.value().second);
    QFAIL(qPrintable(summary));
}

// Whatever happened before, the window still takes typing, a pick and a mean.
void HostileInputTest::windowStillAnswersAfterwards() {
    const WindowFixture& window = *m_window;
    auto retype = [&window](int number, const char* digits) {
        QLineEdit* month = window.box(number);
        month->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(month, Qt::Key_End);
        QTest::keyClick(month, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(month, Qt::Key_Delete);
        QTest::keyClicks(month, QString::fromLatin1(digits));
    };

    retype(2, "45");
    QCOMPARE(window.box(2)->text(), QStringLiteral("45"));
    QCOMPARE(window.barTop(1), 5880.0 - 15.0 * 45);
    for (int number = 3; number <= 13; ++number) retype(number, "3");

    window.pickCount(12);
    QVERIFY(window.list()->item(11)->isSelected());

    QVERIFY(window.button()->isEnabled());
    const int beeps = window.desktop.beeps;
    window.compute();
    QCOMPARE(window.desktop.beeps, beeps + 1);
    QCOMPARE(window.mean(), QStringLiteral("6,5"));
    QCOMPARE(window.meanBarWidth(), 15.0 * 6.5);
    QCOMPARE(window.meanCaption(), QStringLiteral("N°di Wolf Medio dell'anno corrente 2024 = 6,5"));
    for (int month = 2; month <= 12; ++month) QCOMPARE(window.barTop(month), 5880.0 - 15.0 * 3);
    for (QWidget* other : QApplication::topLevelWidgets())
        QVERIFY2(other == window.form.get() || !other->isVisible(),
                 qPrintable(other->objectName()));
}

void HostileInputTest::cleanupTestCase() {
    m_window.reset();
    qInstallMessageHandler(g_previousHandler);
}

QUILVANE_TEST_MAIN(HostileInputTest)
#include "HostileInputTest.moc"
