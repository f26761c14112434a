#pragma once

#include <functional>

// Runs one piece of work on a thread of its own and returns once it has ended. Meanwhile the
// calling thread goes on serving its own events, user input held back: libcups may block for
// seconds on a silent print server, and a window that stops answering its desktop meanwhile is
// taken for hung. Returns only when the work is over, whatever happens meanwhile (a quit, say),
// so what the work uses may live on the caller's stack.
class OffThreadCall {
public:
    OffThreadCall() = delete;

    // An exception thrown by the work is thrown again here.
    static void run(const std::function<void()>& work);
};
