#include "OffThreadCall.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <exception>
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

}  // namespace

std::string OffThreadCall::run(const std::function<void()>& work) noexcept {
    // Null without an application object: then there is nothing to serve, only the work to wait
    // for.
    QAbstractEventDispatcher* const dispatcher =
        QCoreApplication::instance() ? QAbstractEventDispatcher::instance(QThread::currentThread())
                                     : nullptr;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            done.store(true, std::memory_order_release);
            // Thread-safe; a wake-up that comes before the caller waits is not lost.
            if (dispatcher) dispatcher->wakeUp();
        });
    } catch (const std::exception& error) {
        return std::string("no thread for the work: ") + error.what();
    }
    // Not QEventLoop::exec: a quit would end that before the work has.
    while (dispatcher && !done.load(std::memory_order_acquire))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    worker.join();
    return failure ? whatFailed(failure) : std::string();
}
