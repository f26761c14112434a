#pragma once

#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// A step that never returns cannot fail the test by itself: this thread notices it, prints the
// step, the seed and the actions before it, and aborts the run so that it can be replayed.
class StepWatchdog {
public:
    StepWatchdog(std::uint64_t seed, std::chrono::seconds limit);
    ~StepWatchdog();
    StepWatchdog(const StepWatchdog&) = delete;
    StepWatchdog& operator=(const StepWatchdog&) = delete;

    void stepStarted(qint64 step, const QStringList& recentActions);

private:
    void watch();

    const std::uint64_t m_seed;
    const std::chrono::seconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    qint64 m_step = -1;
    std::chrono::steady_clock::time_point m_started;
    QStringList m_recentActions;
    std::thread m_thread;
};
