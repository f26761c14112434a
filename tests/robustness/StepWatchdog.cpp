#include "StepWatchdog.h"

#include <cstdio>
#include <cstdlib>

StepWatchdog::StepWatchdog(std::uint64_t seed, std::chrono::seconds limit)
    : m_seed(seed), m_limit(limit), m_thread([this] { watch(); }) {}

StepWatchdog::~StepWatchdog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void StepWatchdog::stepStarted(qint64 step, const QStringList& recentActions) {
    const std::lock_guard lock(m_mutex);
    m_step = step;
    m_started = std::chrono::steady_clock::now();
    m_recentActions = recentActions;
}

void StepWatchdog::watch() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        m_wake.wait_for(lock, std::chrono::seconds(1));
        if (m_stopping || m_step < 0) continue;
        if (std::chrono::steady_clock::now() - m_started < m_limit) continue;
        std::fprintf(stderr,
                     "HANG: step %lld has run for over %lld s (seed %llu); the actions before "
                     "it:\n  %s\n",
                     static_cast<long long>(m_step), static_cast<long long>(m_limit.count()),
                     static_cast<unsigned long long>(m_seed),
                     m_recentActions.join(QStringLiteral("\n  ")).toLocal8Bit().constData());
        std::fflush(stderr);
        std::abort();
    }
}
