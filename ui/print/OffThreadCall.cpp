#include "OffThreadCall.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace {

std::string whatFailed(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

// What one piece of work and its caller share. The thread holds it until the piece ends, which
// may be after the caller has stopped waiting and gone: it then no longer wakes the caller's
// dispatcher.
struct Piece {
    std::function<void()> work;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::mutex waking;
    QAbstractEventDispatcher* dispatcher = nullptr;
};

}  // namespace

// The work waiting for the thread, shared with it: the thread may outlive its OffThreadCall.
struct OffThreadCall::Queue {
    std::mutex lock;
    std::condition_variable given;
    std::deque<std::function<void()>> work;
    bool closing = false;
    std::thread thread;
};

OffThreadCall::OffThreadCall() : m_queue(std::make_shared<Queue>()) {}

OffThreadCall::~OffThreadCall() {
    {
        const std::lock_guard lock(m_queue->lock);
        m_queue->closing = true;
    }
    m_queue->given.notify_one();
    if (!m_started) return;
    if (m_overran)
        m_queue->thread.detach();
    else
        m_queue->thread.join();
}

bool OffThreadCall::start(std::string& why) noexcept {
    if (m_started) return true;
    try {
        m_queue->thread = std::thread([queue = m_queue] {
            std::unique_lock lock(queue->lock);
            for (;;) {
                queue->given.wait(lock, [&] { return queue->closing || !queue->work.empty(); });
                if (queue->work.empty()) return;  // closing, and nothing left
                const std::function<void()> work = std::move(queue->work.front());
                queue->work.pop_front();
                lock.unlock();
                work();
                lock.lock();
            }
        });
    } catch (const std::exception& error) {
        why = std::string("no thread for the work: ") + error.what();
        return false;
    }
    m_started = true;
    return true;
}

void OffThreadCall::post(std::function<void()> work) noexcept {
    std::string why;
    if (!start(why)) return;
    try {
        const std::lock_guard lock(m_queue->lock);
        m_queue->work.push_back([work = std::move(work)] {
            try {
                work();
            } catch (...) {
            }
        });
    } catch (...) {
        return;  // no memory for it: nobody was waiting for it anyway
    }
    m_queue->given.notify_one();
}

std::string OffThreadCall::call(const std::function<void()>& work) noexcept {
    return callUntil(std::chrono::steady_clock::time_point::max(), [&work] { work(); });
}

std::string OffThreadCall::callUntil(std::chrono::steady_clock::time_point deadline,
                                     std::function<void()> work) noexcept {
    std::string why;
    if (!start(why)) return why;
    std::shared_ptr<Piece> piece;
    try {
        piece = std::make_shared<Piece>();
        piece->work = std::move(work);
        // Null without an application object: then there is nothing to serve, only the work to
        // wait for.
        piece->dispatcher = QCoreApplication::instance()
                                ? QAbstractEventDispatcher::instance(QThread::currentThread())
                                : nullptr;
        const std::lock_guard lock(m_queue->lock);
        m_queue->work.push_back([piece] {
            try {
                piece->work();
            } catch (...) {
                piece->failure = std::current_exception();
            }
            piece->done.store(true, std::memory_order_release);
            // Thread-safe; a wake-up that comes before the caller waits is not lost.
            const std::lock_guard waking(piece->waking);
            if (piece->dispatcher) piece->dispatcher->wakeUp();
        });
    } catch (const std::exception& error) {
        return std::string("the work could not be handed over: ") + error.what();
    }
    m_queue->given.notify_one();

    const bool bounded = deadline != std::chrono::steady_clock::time_point::max();
    const auto timeLeft = [deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
    };
    // Wakes the wait at the deadline.
    QTimer alarm;
    if (bounded && piece->dispatcher) {
        alarm.setSingleShot(true);
        alarm.start(std::max(timeLeft(), std::chrono::milliseconds(0)));
    }
    // Not QEventLoop::exec: a quit would end that before the work has. User input is taken as
    // it comes, not held back to be played later: Windows reads a key's modifiers only when
    // its message is handled, so Alt+F4 held until Alt is up would be a plain F4.
    while (!piece->done.load(std::memory_order_acquire) && (!bounded || timeLeft().count() > 0)) {
        if (piece->dispatcher)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!piece->done.load(std::memory_order_acquire)) {
        const std::lock_guard waking(piece->waking);
        piece->dispatcher = nullptr;
        m_overran = true;
        return kTimedOut;
    }
    return piece->failure ? whatFailed(piece->failure) : std::string();
}

std::string OffThreadCall::run(const std::function<void()>& work) noexcept {
    OffThreadCall thread;
    return thread.call(work);
}
