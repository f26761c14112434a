#include "OffThreadCall.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <exception>
#include <thread>

void OffThreadCall::run(const std::function<void()>& work) {
    // Null without an application object: then there is nothing to serve, only the work to wait
    // for.
    QAbstractEventDispatcher* const dispatcher =
        QCoreApplication::instance() ? QAbstractEventDispatcher::instance(QThread::currentThread())
                                     : nullptr;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
        // Thread-safe; a wake-up that comes before the caller waits is not lost.
        if (dispatcher) dispatcher->wakeUp();
    });
    // Not QEventLoop::exec: a quit would end that before the work has.
    while (dispatcher && !done.load(std::memory_order_acquire))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    worker.join();
    if (failure) std::rethrow_exception(failure);
}
