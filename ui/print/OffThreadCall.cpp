#include "OffThreadCall.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
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

// What the worker and the caller share. The worker holds it until it ends, which may be after
// the caller has stopped waiting and gone: it then no longer wakes the caller's dispatcher.
struct Shared {
    std::function<void()> work;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::mutex waking;
    QAbstractEventDispatcher* dispatcher = nullptr;
};

}  // namespace

std::string OffThreadCall::run(const std::function<void()>& work) noexcept {
    return runUntil(std::chrono::steady_clock::time_point::max(), [&work] { work(); });
}

std::string OffThreadCall::runUntil(std::chrono::steady_clock::time_point deadline,
                                    std::function<void()> work) noexcept {
    auto shared = std::make_shared<Shared>();
    shared->work = std::move(work);
    // Null without an application object: then there is nothing to serve, only the work to wait
    // for.
    shared->dispatcher = QCoreApplication::instance()
                             ? QAbstractEventDispatcher::instance(QThread::currentThread())
                             : nullptr;
    std::thread worker;
    try {
        worker = std::thread([shared] {
            try {
                shared->work();
            } catch (...) {
                shared->failure = std::current_exception();
            }
            shared->done.store(true, std::memory_order_release);
            // Thread-safe; a wake-up that comes before the caller waits is not lost.
            const std::lock_guard lock(shared->waking);
            if (shared->dispatcher) shared->dispatcher->wakeUp();
        });
    } catch (const std::exception& error) {
        return std::string("no thread for the work: ") + error.what();
    }
    const bool bounded = deadline != std::chrono::steady_clock::time_point::max();
    const auto timeLeft = [deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
    };
    // Wakes the wait at the deadline.
    QTimer alarm;
    if (bounded && shared->dispatcher) {
        alarm.setSingleShot(true);
        alarm.start(std::max(timeLeft(), std::chrono::milliseconds(0)));
    }
    // Not QEventLoop::exec: a quit would end that before the work has.
    while (!shared->done.load(std::memory_order_acquire) && (!bounded || timeLeft().count() > 0)) {
        if (shared->dispatcher)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
        else if (bounded)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        else
            break;  // nothing to serve: join below
    }
    if (!shared->done.load(std::memory_order_acquire) && bounded) {
        const std::lock_guard lock(shared->waking);
        shared->dispatcher = nullptr;
        worker.detach();
        return kTimedOut;
    }
    worker.join();
    return shared->failure ? whatFailed(shared->failure) : std::string();
}
