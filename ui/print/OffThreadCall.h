#pragma once

#include <chrono>
#include <functional>
#include <string>

// Runs one piece of work on a thread of its own. Meanwhile the calling thread goes on serving
// its own events, user input held back: a print service may block for seconds, and a window
// that stops answering its desktop meanwhile is taken for hung. Neither call throws: the callers
// are a print module's C entry point and the window's event handlers, which an exception would
// end the program from.
class OffThreadCall {
public:
    OffThreadCall() = delete;

    // Returns only when the work is over, whatever happens meanwhile (a quit, say), so what the
    // work uses may live on the caller's stack. Empty when the work ran to its end; otherwise
    // why it did not: no thread could be started, or the work threw.
    [[nodiscard]] static std::string run(const std::function<void()>& work) noexcept;

    // The same, but the caller stops waiting at the deadline ("timed out"), and the work is
    // left to end on its own: it must own everything it uses.
    [[nodiscard]] static std::string runUntil(std::chrono::steady_clock::time_point deadline,
                                              std::function<void()> work) noexcept;

    static constexpr const char* kTimedOut = "timed out";
};
