// Measures how long a program's window keeps its desktop waiting while it prints to a print
// server that takes the connection and never answers. Window managers send _NET_WM_PING and
// take a window that has not answered within a few seconds (GNOME: 5) for hung; this watcher
// does the same every few milliseconds and times each answer.
//
//   ping_watcher [--interval-ms N] [--timeout-ms N] -- program [args...]
//
// Starts the program with CUPS_SERVER at a listener of its own that never answers, waits for
// the program's window to be mapped and pings it every N ms (20 unless given) until a second
// window of the program, the print's warning, has been mapped. Whoever runs it chooses
// "Stampa" meanwhile (bench/print_ping_benchmark.sh does, with xdotool).
//
// Prints one line and exits 0:
//   <longest wait for an answer, ms> <pings sent> <pings answered> <ms from map to warning>
// A ping still unanswered at the end counts with its wait so far.
// Exits 1 if no window, or no warning, was mapped in time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "X11Watcher.h"

namespace {

// The kernel completes connections to a listening socket by itself: nobody ever accepts, reads
// or writes, as with a print server that has stopped answering. Returns its port, 0 on failure.
int silentListener(int& fd) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(fd, 16) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

int usage() {
    std::fprintf(stderr,
                 "usage: ping_watcher [--interval-ms N] [--timeout-ms N] -- program [args...]\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    double intervalMs = 20;
    double timeoutMs = 30000;
    const int first = programAfterOptions(
        argc, argv, {{"--interval-ms", &intervalMs}, {"--timeout-ms", &timeoutMs}});
    if (!first) return usage();
    intervalMs = std::max(intervalMs, 1.0);

    int listener = -1;
    const int port = silentListener(listener);
    if (!port) {
        std::perror("ping_watcher: listener");
        return 2;
    }
    Display* display = openDisplay("ping_watcher");
    if (!display) return 2;
    const Window root = DefaultRootWindow(display);
    const Atom wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom netWmPing = XInternAtom(display, "_NET_WM_PING", False);
    // Map notices, and the answers to pings: a window sends them to the root window for its
    // structure listeners (and the window manager, which redirects its substructure).
    XSelectInput(display, root, SubstructureNotifyMask | StructureNotifyMask);
    XSync(display, False);
    const int xFd = ConnectionNumber(display);

    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        setpgid(0, 0);
        setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
        execvp(argv[first], argv + first);
        std::perror("ping_watcher: exec");
        _exit(127);
    }
    setpgid(child, child);

    const double giveUp = nowMs() + timeoutMs;
    Window target = None;
    double mappedAt = 0;
    double warnedAt = 0;
    double nextPing = 0;
    long sent = 0;
    long answered = 0;
    double longestWait = 0;
    std::map<long, double> waiting;  // ping number -> sent at
    // A little after the warning, for the answers on their way.
    const auto finished = [&] { return warnedAt && nowMs() > warnedAt + 200; };
    while (!finished()) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const pid_t pid = windowPid(display, event.xmap.window);
                if (pid != child) continue;
                if (!target) {
                    target = event.xmap.window;
                    mappedAt = nowMs();
                    nextPing = mappedAt;
                } else if (event.xmap.window != target && !warnedAt) {
                    warnedAt = nowMs();
                }
            } else if (event.type == ClientMessage && event.xclient.message_type == wmProtocols &&
                       Atom(event.xclient.data.l[0]) == netWmPing) {
                const auto ping = waiting.find(event.xclient.data.l[1]);
                if (ping == waiting.end()) continue;
                longestWait = std::max(longestWait, nowMs() - ping->second);
                waiting.erase(ping);
                ++answered;
            }
        }
        const double now = nowMs();
        if (target && now >= nextPing) {
            XEvent ping{};
            ping.xclient.type = ClientMessage;
            ping.xclient.window = target;
            ping.xclient.message_type = wmProtocols;
            ping.xclient.format = 32;
            ping.xclient.data.l[0] = long(netWmPing);
            ping.xclient.data.l[1] = ++sent;  // the time stamp, which the answer carries back
            ping.xclient.data.l[2] = long(target);
            XSendEvent(display, target, False, NoEventMask, &ping);
            XFlush(display);
            waiting[sent] = now;
            nextPing += intervalMs;
            if (nextPing < now) nextPing = now + intervalMs;
        }
        int status = 0;
        if (now > giveUp || waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "ping_watcher: %s\n",
                         !target ? "no window was mapped" : "no warning came from the print");
            stopGroup(child);
            return 1;
        }
        pollfd wait{xFd, POLLIN, 0};
        const double untilPing = target ? nextPing - nowMs() : 50;
        poll(&wait, 1, int(std::clamp(untilPing, 0.0, 50.0)) + 1);
    }
    const double end = nowMs();
    for (const auto& [number, sentAt] : waiting) longestWait = std::max(longestWait, end - sentAt);
    stopGroup(child);
    XCloseDisplay(display);
    close(listener);

    std::printf("%.1f %ld %ld %.0f\n", longestWait, sent, answered, warnedAt - mappedAt);
    return 0;
}
