#!/bin/sh
# Builds the benchmarks in Release and runs them all, printing their figures and, last, the
# targets met or missed:
#   1. start-up and memory of quilvane against bare_window under one Xvfb, and the check that
#      the start-up makes no call to the print system (bench/startup_benchmark.sh);
#   2. one keystroke in a month box of the real window, offscreen (keystroke_benchmark);
#   3. the window's answers to the desktop's pings while it prints to a print server that never
#      answers (bench/print_ping_benchmark.sh, three prints of some 5 s each).
#   4. start-up of Quilvane.exe against bare_window.exe under Wine, both built by
#      scripts/windows.sh (on Debian 12, which builds Quilvane for Windows).
#
#   bench/run-benchmarks.sh [RUNS]     RUNS: start-ups of each program, 20 unless given
#
# The figures are ratios against a reference measured in the same run, so they hold on any
# machine; still, on a busy one the wall-clock times wait for a CPU: the table says how long.
# Exits non-zero only when something could not be built or measured, never for a missed target.
set -eu
cd "$(dirname "$0")/.."
runs=${1:-20}
build=${QUILVANE_BENCH_BUILD:-build-bench}

./scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DQUILVANE_BENCHMARKS=ON \
    >/dev/null
cmake --build "$build" --parallel "$(nproc)" \
    --target quilvane quilvane-print bare_window map_watcher ping_watcher keystroke_benchmark

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "== Start-up and memory"
{
    bench/startup_benchmark.sh "$build" "$runs" && echo 0 >"$out/startup.status" ||
        echo $? >"$out/startup.status"
} | tee "$out/startup"
[ "$(cat "$out/startup.status")" -eq 0 ] || exit 1

echo
echo "== Keystroke"
XDG_RUNTIME_DIR="$out" QT_QPA_PLATFORM=offscreen "$build/bench/keystroke_benchmark" \
    --benchmark_out="$out/keystroke.csv" --benchmark_out_format=csv

# The CSV columns by name, after the lines about the machine; counters a benchmark does not
# report stay empty.
awk -F, '
    /^name,/ { for (i = 1; i <= NF; ++i) { gsub(/"/, "", $i); col[$i] = i }; next }
    !length(col) { next }
    { gsub(/"/, ""); sub(/\/manual_time$/, "", $1); for (c in col) v[$1, c] = $col[c] }
    END {
        d = "BM_DigitKeystroke"; b = "BM_BackspaceKeystroke"; w = "BM_WholeClientRepaint"
        printf "\nKeystroke in a month box, offscreen: filter, Change handler, repaint\n"
        printf "  %-44s %10s %10s\n", "", "digit", "Backspace"
        printf "  %-44s %10.1f %10.1f\n", "median per keystroke, us", v[d, "median_us"], v[b, "median_us"]
        printf "  %-44s %10.1f %10.1f\n", "90th percentile, us", v[d, "p90_us"], v[b, "p90_us"]
        printf "  %-44s %10d %10d\n", "keystrokes timed", v[d, "iterations"], v[b, "iterations"]
        printf "  %-44s %10d %10d\n", "client area repainted beside the box, px", v[d, "client_px"], v[b, "client_px"]
        printf "  %-44s %10d %10d\n", "  the bar column it must repaint, px", v[d, "bar_column_px"], v[b, "bar_column_px"]
        printf "  %-44s %10d %10d\n", "client area repainted beneath the box, px", v[d, "under_box_px"], v[b, "under_box_px"]
        printf "  %-44s %10d %10d\n", "the box itself, px", v[d, "box_px"], v[b, "box_px"]
        printf "  %-44s %10d %10d\n", "anything else, px", v[d, "elsewhere_px"], v[b, "elsewhere_px"]
        printf "  %-44s %10.1f\n", "for scale: whole client area repainted, us", v[w, "real_time"]
        ok = v[d, "median_us"] != "" && v[d, "median_us"] < 300
        printf "target: keystroke median under 0.3 ms: %.3f ms: %s\n", v[d, "median_us"] / 1000,
            ok ? "MET" : "MISSED"
        ok = v[d, "client_px"] != "" && v[d, "client_px"] <= v[d, "bar_column_px"] && v[d, "elsewhere_px"] == 0
        printf "target: keystroke repaints only its bar column (and the box): %d px of 170565: %s\n",
            v[d, "client_px"] + v[d, "under_box_px"], ok ? "MET" : "MISSED"
    }' "$out/keystroke.csv" | tee "$out/keystroke"

echo
echo "== Printing to a silent server"
{
    bench/print_ping_benchmark.sh "$build" && echo 0 >"$out/ping.status" ||
        echo $? >"$out/ping.status"
} | tee "$out/ping"
[ "$(cat "$out/ping.status")" -eq 0 ] || exit 1

echo
echo "== Start-up under Wine"
{
    ./scripts/windows.sh >"$out/windows.log" 2>&1 && built=0 || built=$?
    if [ $built -eq 0 ]; then
        bench/startup_benchmark.sh "$build" "$runs" --wine dist/windows \
            build-windows/bench/bare_window.exe && echo 0 >"$out/wine.status" ||
            echo $? >"$out/wine.status"
    elif [ $built -eq 3 ]; then # another release than the one it is built on
        echo "target: start-up under Wine at most 1.10x the bare window: NOT MEASURED" \
            "(Quilvane for Windows is built on Debian 12)"
        echo 0 >"$out/wine.status"
    else
        tail -n 20 "$out/windows.log"
        echo 1 >"$out/wine.status"
    fi
} | tee "$out/wine"
[ "$(cat "$out/wine.status")" -eq 0 ] || exit 1

echo
echo "== Targets"
grep -h '^target:' "$out/startup" "$out/keystroke" "$out/ping" "$out/wine" | sed 's/^target: /  /'
