#pragma once

// What the X11 watchers share: their options, their display, the process a window belongs to,
// a monotonic clock in milliseconds, and stopping the process group of the program they started.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

inline double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Asks the group to end, waits up to 2 s for its leader, then kills what is left; stragglers
// of the group (a traced child, for one) go with it.
inline void stopGroup(pid_t group) {
    kill(-group, SIGTERM);
    const double giveUp = nowMs() + 2000;
    int status = 0;
    while (waitpid(group, &status, WNOHANG) == 0) {
        if (nowMs() > giveUp) {
            kill(-group, SIGKILL);
            waitpid(group, &status, 0);
            break;
        }
        usleep(5000);
    }
    kill(-group, SIGKILL);
}

// Reads "--name N" options up to "--" into their variables; returns the index of the program to
// run after them, or 0 when the command line is not of that form.
inline int programAfterOptions(int argc, char* argv[],
                               const std::map<std::string, double*>& options) {
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        const auto option = options.find(arg);
        if (option == options.end() || first + 1 >= argc) return 0;
        *option->second = std::atof(argv[++first]);
    }
    return first < argc ? first : 0;
}

// The display, its connection kept from the programs the watcher starts; nullptr, said on
// stderr, when there is none.
inline Display* openDisplay(const char* watcher) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open display \"%s\"\n", watcher, XDisplayName(nullptr));
        return nullptr;
    }
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    return display;
}

// The process that says it owns WINDOW (_NET_WM_PID), 0 when it says none.
inline pid_t windowPid(Display* display, Window window) {
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = pid_t(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}
