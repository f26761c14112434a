#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

// Runs pieces of work on a thread of its own, one after the other, in the order given.
// Meanwhile the calling thread goes on serving its own events, user input among them, which
// the caller's windows must be kept from acting on (the window's print guard drops it): a print
// service may block for seconds, and a window that stops answering its desktop meanwhile is
// taken for hung. One thread for every piece, because a printer's device context is not
// promised to work from more than the thread that made it. No call throws: the callers are a
// print module's C entry point and the window's event handlers, which an exception would end
// the program from.
class OffThreadCall {
public:
    OffThreadCall();
    // The thread ends once the work given to it is over, without being waited for when a piece
    // ran past its caller's deadline.
    ~OffThreadCall();
    OffThreadCall(const OffThreadCall&) = delete;
    OffThreadCall& operator=(const OffThreadCall&) = delete;

    // Returns only when the work is over, whatever happens meanwhile (a quit, say), so what the
    // work uses may live on the caller's stack. Empty when the work ran to its end; otherwise
    // why it did not: no thread could be started, or the work threw.
    [[nodiscard]] std::string call(const std::function<void()>& work) noexcept;

    // The same, but the caller stops waiting at the deadline ("timed out"), and the work is
    // left to end on its own: it must own everything it uses. Work given after it waits for it.
    [[nodiscard]] std::string callUntil(std::chrono::steady_clock::time_point deadline,
                                        std::function<void()> work) noexcept;

    // Work nobody waits for, run after what was given before it; what it throws is lost.
    void post(std::function<void()> work) noexcept;

    // One piece of work on a thread of its own.
    [[nodiscard]] static std::string run(const std::function<void()>& work) noexcept;

    static constexpr const char* kTimedOut = "timed out";

private:
    struct Queue;
    bool start(std::string& why) noexcept;

    std::shared_ptr<Queue> m_queue;
    bool m_started = false;
    bool m_overran = false;  // a piece ran past its deadline: the thread may never end
};
