#pragma once

// What the X11 watchers share: a monotonic clock in milliseconds, and stopping the process
// group of the program they started.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

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
