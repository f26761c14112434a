#!/bin/sh
# Start-up and memory of quilvane against bare_window, the least Qt window of the same size and
# title, both started many times, alternately, under one Xvfb; then a check that the start-up
# makes no call to the print system.
#
#   bench/startup_benchmark.sh BUILD_DIR [RUNS]
#   bench/startup_benchmark.sh BUILD_DIR RUNS --wine WINDOWS_DIST BARE_EXE
#
# The second form times Quilvane.exe from WINDOWS_DIST against BARE_EXE, built the same way and
# run from a copy of the same folder (the same DLLs), under Wine with a prefix of its own.
# Each run is timed from the outside by map_watcher: exec to the MapNotify of the program's
# window, the CPU time its threads had used by then, and VmRSS 0.5 s after the map.
# Prints a table and "target:" lines; exits non-zero only when something could not be measured.
set -eu

build=${1:?usage: startup_benchmark.sh BUILD_DIR [RUNS] [--wine WINDOWS_DIST BARE_EXE]}
runs=${2:-20}
wine=0
[ "${3:-}" != --wine ] || wine=1
app="$build/app/quilvane"
bare="$build/bench/bare_window"
watcher="$build/bench/map_watcher"
[ $wine -eq 1 ] || for program in "$app" "$bare"; do
    [ -x "$program" ] || { echo "startup_benchmark: $program is not built" >&2; exit 2; }
done
[ -x "$watcher" ] || { echo "startup_benchmark: $watcher is not built" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "startup_benchmark: Xvfb is missing (Debian: xvfb)" >&2; exit 2; }

. "$(dirname "$0")/bench-screen.sh"
bench_screen startup_benchmark
where="under one Xvfb ($DISPLAY)"

if [ $wine -eq 1 ]; then
    where="under Wine $(wine --version 2>/dev/null | sed 's/^wine-//'), on Xvfb ($DISPLAY)"
    mkdir "$work/windows"
    cp -r "${4:?no WINDOWS_DIST}/." "$work/windows/"
    cp "${5:?no BARE_EXE}" "$work/windows/"
    export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all HOME="$work"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Each program's own top-level X window, as Wine makes one without a virtual desktop; one
    # Wine server and Wine's services kept running, as on a Windows that has started already.
    trap 'wineserver -k 2>/dev/null || true; stop_private_screen; rm -rf "$work"' EXIT
    wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 2; }
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # The watcher times from exec: each program is one exec away, wine's own start included.
    for name in Quilvane bare_window; do
        printf '#!/bin/sh\nexec wine "%s"\n' "$work/windows/$name.exe" >"$work/$name"
        chmod +x "$work/$name"
    done
    app="$work/Quilvane" bare="$work/bare_window"
fi

measure() { # name program
    "$watcher" --rss-after-ms 500 -- "$2" >>"$work/$1" 2>>"$work/stderr" || {
        echo "startup_benchmark: $2 did not map a window" >&2
        kill -0 "$xvfb_pid" 2>/dev/null || echo "startup_benchmark: Xvfb $DISPLAY has gone" >&2
        cat "$work/stderr" >&2
        exit 2
    }
}

# One run each first, not counted: it fills the page cache and the font cache.
measure warmup "$app"
measure warmup "$bare"
i=1
while [ $i -le "$runs" ]; do
    if [ $((i % 2)) -eq 1 ]; then
        measure app "$app"
        measure bare "$bare"
    else
        measure bare "$bare"
        measure app "$app"
    fi
    i=$((i + 1))
done

# stats FILE COLUMN SCALE -> "median min max"
stats() {
    awk -v c="$2" -v s="$3" '{ print $c / s }' "$1" | sort -g | awk '
        { v[NR] = $1 }
        END {
            m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%.2f %.2f %.2f\n", m, v[1], v[NR]
        }'
}

row() { # label FILE COLUMN SCALE
    set -- "$1" $(stats "$2" "$3" "$4")
    printf "  %-34s %9s %9s %9s\n" "$1" "$2" "$3" "$4"
}

median_of() { stats "$1" "$2" "$3" | cut -d' ' -f1; }

map_app=$(median_of "$work/app" 1 1)
map_bare=$(median_of "$work/bare" 1 1)
cpu_app=$(median_of "$work/app" 2 1)
cpu_bare=$(median_of "$work/bare" 2 1)
rss_app=$(median_of "$work/app" 4 1024)
rss_bare=$(median_of "$work/bare" 4 1024)

echo
echo "Start-up and memory: $runs runs of each, alternating, $where"
printf "  %-34s %9s %9s %9s\n" "" median min max
row "exec to window mapped, quilvane ms" "$work/app" 1 1
row "exec to window mapped, bare ms" "$work/bare" 1 1
row "CPU time to map, quilvane ms" "$work/app" 2 1
row "CPU time to map, bare ms" "$work/bare" 2 1
row "waiting for a CPU, quilvane ms" "$work/app" 3 1
row "waiting for a CPU, bare ms" "$work/bare" 3 1
row "VmRSS 0.5 s after map, quilvane MB" "$work/app" 4 1024
row "VmRSS 0.5 s after map, bare MB" "$work/bare" 4 1024
row "  of which anonymous, quilvane MB" "$work/app" 5 1024
row "  of which anonymous, bare MB" "$work/bare" 5 1024
row "  of which file-backed, quilvane MB" "$work/app" 6 1024
row "  of which file-backed, bare MB" "$work/bare" 6 1024

awk -v a="$map_app" -v b="$map_bare" -v ca="$cpu_app" -v cb="$cpu_bare" \
    -v ra="$rss_app" -v rb="$rss_bare" -v wine=$wine 'BEGIN {
    ratio = a / b
    printf "  start-up ratio (medians)           %9.2fx  (CPU time ratio %.2fx)\n", ratio, ca / cb
    printf "  memory difference (medians)        %+9.2f MB\n", ra - rb
    printf "target: start-up%s at most 1.10x the bare window: %.2fx: %s\n",
        wine ? " under Wine" : "", ratio, ratio <= 1.10 ? "MET" : "MISSED"
    if (!wine)
        printf "target: memory at most the bare window + 2 MB: %+.2f MB: %s\n", ra - rb,
            ra - rb <= 2 ? "MET" : "MISSED"
}'
# What Windows' print system is asked at start-up is not traced under Wine.
[ $wine -eq 0 ] || exit 0

# The print system: no connection to the CUPS server, and none of its configuration read, from
# exec until 1 s after the window is mapped.
cups_calls='cups\.sock|htons\(631\)|"/etc/cups/|/\.cups/'
if command -v strace >/dev/null; then
    "$watcher" --hold-ms 1000 -- strace -f -qq -o "$work/startup.strace" -e trace=connect,openat \
        "$app" >/dev/null 2>>"$work/stderr" || { echo "startup_benchmark: traced start failed" >&2; exit 2; }
    found=$(grep -E -c "$cups_calls" "$work/startup.strace" || true)
    echo
    echo "Print system during start-up (strace of connect/openat until 1 s after the map):"
    grep -E "$cups_calls" "$work/startup.strace" | sed 's/^/  /' | head -5
    # The same trace does see CUPS when a client asks it something.
    if command -v lpstat >/dev/null; then
        strace -f -qq -o "$work/lpstat.strace" -e trace=connect,openat lpstat -d >/dev/null 2>&1 || true
        echo "  the check's own control, lpstat -d: $(grep -E -c "$cups_calls" "$work/lpstat.strace" || true) CUPS calls seen"
    fi
    # And it sees quilvane's own print: "Stampa" chosen with CUPS_SERVER at a socket of ours that
    # does not exist, so that no real print server is asked anything.
    if command -v xdotool >/dev/null; then
        CUPS_SERVER="$work/cups.sock" "$watcher" --hold-ms 3000 -- strace -f -qq \
            -o "$work/print.strace" -e trace=connect,openat "$app" >/dev/null 2>>"$work/stderr" &
        traced=$!
        choose_stampa 10 || true # the control below then finds no call
        wait "$traced" || true
        echo "  the check's own control, quilvane with Stampa chosen: $(grep -E -c "$cups_calls" "$work/print.strace" 2>/dev/null || true) CUPS calls seen"
    fi
    printf "target: no CUPS call at start-up: %s CUPS calls: %s\n" "$found" \
        "$([ "$found" -eq 0 ] && echo MET || echo MISSED)"
else
    echo "target: no CUPS call at start-up: NOT CHECKED (strace is missing; Debian: strace)"
fi
