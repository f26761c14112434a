// Starts a program and reports, from the outside, how long it took from exec to the mapping of
// its top-level window, and its resident set a while later. The program is not changed in any
// way: the watcher listens for MapNotify on the root window of the X server in $DISPLAY.
//
//   map_watcher [--rss-after-ms N] [--hold-ms N] [--timeout-ms N] -- program [args...]
//
// Prints one line and exits 0:
//   <ms from exec to map> <CPU ms by then> <run-queue wait ms by then> <VmRSS kB> <RssAnon kB>
//   <RssFile kB>
// The CPU and wait times (all threads of the window's process, from /proc/<pid>/task/*/schedstat)
// tell a slow start from a machine busy with something else.
// Exits 1 if no window of the program (or of a process it started) was mapped in time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "X11Watcher.h"

namespace {

void sleepUntil(double ms) {
    for (double left = ms - nowMs(); left > 0; left = ms - nowMs()) {
        timespec ts{time_t(left / 1e3), long(std::fmod(left, 1e3) * 1e6)};
        nanosleep(&ts, nullptr);
    }
}

pid_t parentOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return 0;
    // The command name may hold spaces and parentheses: the fields resume after the last ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 1));
    char state = 0;
    pid_t parent = 0;
    fields >> state >> parent;
    return parent;
}

bool descendsFrom(pid_t pid, pid_t ancestor) {
    for (int depth = 0; pid > 1 && depth < 64; ++depth, pid = parentOf(pid))
        if (pid == ancestor) return true;
    return false;
}

struct CpuTimes {
    double runningMs = 0;
    double waitingMs = 0;
};

CpuTimes cpuTimesOf(pid_t pid) {
    CpuTimes times;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long running = 0;
        unsigned long long waiting = 0;
        if (schedstat >> running >> waiting) {
            times.runningMs += double(running) / 1e6;
            times.waitingMs += double(waiting) / 1e6;
        }
    }
    return times;
}

std::map<std::string, long> memoryOf(pid_t pid) {
    std::map<std::string, long> kb;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        if (fields >> key >> value) kb[key.substr(0, key.size() - 1)] = value;
    }
    return kb;
}

int usage() {
    std::fprintf(stderr,
                 "usage: map_watcher [--rss-after-ms N] [--hold-ms N] [--timeout-ms N] -- "
                 "program [args...]\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    double rssAfterMs = 500;
    double holdMs = -1;
    double timeoutMs = 10000;
    const int first = programAfterOptions(
        argc, argv,
        {{"--rss-after-ms", &rssAfterMs}, {"--hold-ms", &holdMs}, {"--timeout-ms", &timeoutMs}});
    if (!first) return usage();
    if (holdMs < rssAfterMs) holdMs = rssAfterMs;

    Display* display = openDisplay("map_watcher");
    if (!display) return 2;
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const int xFd = ConnectionNumber(display);

    // The child stamps the time itself, as the last thing before exec.
    auto* execAt = static_cast<double*>(
        mmap(nullptr, sizeof(double), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (execAt == MAP_FAILED) return 2;
    *execAt = 0;

    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        setpgid(0, 0);
        *execAt = nowMs();
        execvp(argv[first], argv + first);
        std::perror("map_watcher: exec");
        _exit(127);
    }
    setpgid(child, child);

    const double giveUp = nowMs() + timeoutMs;
    double mappedAt = 0;
    pid_t owner = 0;
    while (!mappedAt) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect) continue;
            const double at = nowMs();
            const pid_t pid = windowPid(display, event.xmap.window);
            if (pid > 0 && descendsFrom(pid, child)) {
                mappedAt = at;
                owner = pid;
                break;
            }
        }
        if (mappedAt) break;
        const double left = giveUp - nowMs();
        int status = 0;
        if (left <= 0 || waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "map_watcher: %s mapped no window\n", argv[first]);
            stopGroup(child);
            return 1;
        }
        pollfd wait{xFd, POLLIN, 0};
        poll(&wait, 1, int(std::min(left, 50.0)) + 1);
    }

    const CpuTimes cpu = cpuTimesOf(owner);
    sleepUntil(mappedAt + rssAfterMs);
    std::map<std::string, long> memory = memoryOf(owner);
    sleepUntil(mappedAt + holdMs);
    stopGroup(child);
    XCloseDisplay(display);

    std::printf("%.3f %.3f %.3f %ld %ld %ld\n", mappedAt - *execAt, cpu.runningMs, cpu.waitingMs,
                memory["VmRSS"], memory["RssAnon"], memory["RssFile"]);
    return 0;
}
