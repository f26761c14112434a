#!/bin/sh
# How long the window keeps its desktop waiting while it prints to a print server that takes
# the connection and never answers: the longest wait for its answer to _NET_WM_PING, by which
# window managers tell a hung window (GNOME gives up after 5 s).
#
#   bench/print_ping_benchmark.sh BUILD_DIR [RUNS]     RUNS: prints, 3 unless given
#
# Each run starts quilvane under ping_watcher on a private Xvfb, with CUPS_SERVER at the
# watcher's silent listener, chooses "Menù → Stampa" with xdotool, and pings the window every
# 20 ms until the print's warning shows, some 5 s later (print_limits::kPage).
# Prints a table and a "target:" line; exits non-zero only when something could not be measured.
set -eu

build=${1:?usage: print_ping_benchmark.sh BUILD_DIR [RUNS]}
runs=${2:-3}
app="$build/app/quilvane"
watcher="$build/bench/ping_watcher"
for program in "$app" "$watcher"; do
    [ -x "$program" ] || { echo "print_ping_benchmark: $program is not built" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "print_ping_benchmark: $tool is missing" >&2; exit 2; }
done

. "$(dirname "$0")/bench-screen.sh"
bench_screen print_ping_benchmark
# No one's printer choices or client.conf: only the watcher's silent server.
unset LPDEST PRINTER
export HOME="$work/home" CUPS_SERVERROOT="$work/cups"
mkdir -p "$HOME" "$CUPS_SERVERROOT"

i=1
while [ $i -le "$runs" ]; do
    "$watcher" -- "$app" >>"$work/pings" 2>>"$work/stderr" &
    watched=$!
    choose_stampa 15 || true # the watcher says when no window came
    wait "$watched" || {
        echo "print_ping_benchmark: run $i measured nothing" >&2
        cat "$work/stderr" >&2
        exit 2
    }
    i=$((i + 1))
done

echo
echo "Window's answer to _NET_WM_PING every 20 ms while printing to a silent server: $runs prints"
printf "  %-44s %9s %9s %9s %9s\n" "" "longest" "pings" "answered" "span ms"
n=1
while read -r longest sent answered span; do
    printf "  %-44s %9s %9s %9s %9s\n" "print $n, longest wait ms" "$longest" "$sent" "$answered" "$span"
    n=$((n + 1))
done <"$work/pings"
awk '{ if ($1 > worst) worst = $1 } END {
    printf "target: window answers a ping within 250 ms while printing to a silent server: %.1f ms: %s\n",
        worst, worst < 250 ? "MET" : "MISSED"
}' "$work/pings"
