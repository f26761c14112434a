#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite.
#   ./scripts/test.sh                  the other supported Debian release's lane, then this system's
#                                      whole suite (see --this-release)
#   ./scripts/test.sh --this-release   this system alone: the fuzzers, the suite built with
#                                      AddressSanitizer and UndefinedBehaviorSanitizer, then the
#                                      suite on the ordinary build
#   ./scripts/test.sh --quick          this system's ordinary build and suite alone
#   ./scripts/test.sh --other-release  the other release's lane alone
# Each step says how long it took. The ordinary suite runs last, so that its CTest summary ends
# the output; the command exits non-zero when any step failed.
set -u
cd "$(dirname "$0")/.."
mode=all
for arg in "$@"; do
    case "$arg" in
        --quick) mode=quick ;;
        --this-release) [ $mode = quick ] || mode=this ;;
        --other-release) mode=other ;;
        *) echo "usage: $0 [--quick | --this-release | --other-release]" >&2; exit 2 ;;
    esac
done
jobs=$(nproc)
status=0
timings=""

# step NAME COMMAND...: runs it, says how long it took, and marks the run failed if it failed.
step() {
    _name=$1
    shift
    echo "== $_name"
    _start=$(date +%s)
    _rc=0
    "$@" || _rc=$?
    _seconds=$(($(date +%s) - _start))
    _verdict=""
    [ $_rc -eq 0 ] || { _verdict=", FAILED"; status=1; }
    echo "== $_name: ${_seconds} s$_verdict"
    timings="$timings$(printf '%6s s  %s%s' "$_seconds" "$_name" "$_verdict")
"
    return $_rc
}

# Each target is compiled as one file (a unity build): Qt's headers, most of a file's compile
# time, are parsed once per target instead of once per file. This halves the builds from nothing.
configure() {
    _dir=$1
    shift
    cmake -S . -B "$_dir" -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON \
        -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 "$@" >/dev/null
}

# The two supported releases each test the other in a system of its own.
other_release() {
    . /etc/os-release
    case "${VERSION_CODENAME:-}" in
        bookworm) echo trixie ;;
        trixie) echo bookworm ;;
        *) echo "Quilvane is tested on Debian 12 (bookworm) and 13 (trixie), not on" \
            "${PRETTY_NAME:-this system}" >&2; return 1 ;;
    esac
}

if [ $mode = all ] || [ $mode = other ]; then
    other=$(other_release) || exit 1
    step "The other release, $other: its whole suite" ./scripts/release-lane.sh "$other"
    if [ $mode = other ]; then
        printf '\nTime taken:\n%s' "$timings"
        exit $status
    fi
fi

step "Installing what is missing" ./scripts/install-deps.sh --test || exit 1

# The ordinary build: gcc, the compiler Debian builds the package with. scripts/run.sh shares
# this build directory, with the tests turned off. The benchmarks are built and run by
# bench/run-benchmarks.sh, in a Release build of their own.
ordinary_build() {
    configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILVANE_BENCHMARKS=OFF &&
        cmake --build build --parallel "$jobs"
}

# background NAME LOG NICENESS COMMAND...: starts a step beside the next ones, a few notches
# below them, its output kept in LOG, and sets background_pid; finish_background NAME LOG PID
# waits for it and reports it.
background() {
    _name=$1
    _log=$2
    _niceness=$3
    shift 3
    echo "== $_name: started in the background"
    date +%s >"$_log.start"
    (
        renice -n "$_niceness" -p "$(sh -c 'echo $PPID')" >/dev/null
        "$@"
        echo $? >"$_log.status"
        date +%s >"$_log.end"
    ) >"$_log" 2>&1 &
    background_pid=$!
}

finish_background() {
    wait "$3"
    _seconds=$(($(cat "$2.end") - $(cat "$2.start")))
    _verdict=""
    if [ "$(cat "$2.status" 2>/dev/null)" != 0 ]; then
        cat "$2"
        _verdict=", FAILED"
        status=1
    fi
    echo "== $1: ${_seconds} s$_verdict"
    timings="$timings$(printf '%6s s  %s%s' "$_seconds" "$1" "$_verdict")
"
    [ -z "$_verdict" ]
}

if [ $mode = quick ]; then
    step "Ordinary build" ordinary_build || exit 1
else
    step "Fuzzers: build" ./fuzz/run-fuzzers.sh --build-only || exit 1
    # clang parses Qt's headers in two thirds of gcc's time and loads a precompiled header in a
    # fraction of it: this build takes a third of gcc's, and the code meets a second compiler.
    # A sanitizer's report needs no more debugging information than files and lines.
    step "Sanitizer build" configure build-asan -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
        "-DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only" -DQUILVANE_SANITIZE=ON \
        -DQUILVANE_BENCHMARKS=OFF || exit 1
    step "Sanitizer build" cmake --build build-asan --parallel "$jobs" || exit 1

    # The suite mostly waits on screens, print servers and the screen reader: the ordinary build
    # takes the idle cores, a few notches below the tests so as not to slow them.
    mkdir -p build
    background "Ordinary build" build/build.log 10 ordinary_build
    ordinary=$background_pid
    step "Sanitizer suite" env ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure --parallel "$jobs" --no-label-summary
    # Then the fuzzers, ahead of the rest of that build: beside the suite's tests each got a sixth
    # of a core at most.
    fuzz_log=build-fuzz/fuzzers.log
    background "Fuzzers, side by side" $fuzz_log 5 \
        ./fuzz/run-fuzzers.sh --no-build "${FUZZ_SECONDS:-30}"
    finish_background "Fuzzers, side by side" $fuzz_log $background_pid && tail -n 4 $fuzz_log
    finish_background "Ordinary build" build/build.log $ordinary || exit 1
fi

printf '\nTime taken so far:\n%s' "$timings"
echo "== Test suite"
ctest --test-dir build --output-on-failure --parallel "$jobs" --no-label-summary || status=1
exit $status
