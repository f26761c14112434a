#pragma once

#include <functional>
#include <string>

// Runs one piece of work on a thread of its own and returns once it has ended. Meanwhile the
// calling thread goes on serving its own events, user input held back: a print service may
// block for seconds, and a window that stops answering its desktop meanwhile is taken for hung.
// Returns only when the work is over, whatever happens meanwhile (a quit, say), so what the work
// uses may live on the caller's stack.
class OffThreadCall {
public:
    OffThreadCall() = delete;

    // Empty when the work ran to its end; otherwise why it did not: no thread could be started,
    // or the work threw. Never throws: the callers are a print module's C entry point and the
    // window's event handlers, which an exception would end the program from.
    [[nodiscard]] static std::string run(const std::function<void()>& work) noexcept;
};
