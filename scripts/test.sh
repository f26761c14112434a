#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite.
#   ./scripts/test.sh                  the other supported Debian release's lane, then this system's
#                                      whole suite (see --this-release)
#   ./scripts/test.sh --this-release   this system alone: the fuzzers, the suite built with
#                                      AddressSanitizer and UndefinedBehaviorSanitizer, on Debian 12
#                                      the Windows lane, then the suite on the ordinary build
#   ./scripts/test.sh --quick          this system's ordinary build and suite alone
#   ./scripts/test.sh --other-release  the other release's lane alone
# Each step says how long it took. The ordinary suite runs last, so that its CTest summary ends
# the output; the command exits non-zero when any step failed. Run as root or as a user with
# sudo, which installs the packages and runs the other release's lane. Interrupted (Ctrl+C), it
# stops everything it started.
set -u
cd "$(dirname "$0")/.."
. scripts/platforms.sh
. scripts/steps.sh
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
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# Everything this command starts carries this mark in its environment, so that an interrupt can
# find and stop all of it: a non-interactive shell starts its background steps deaf to Ctrl+C,
# and tests start servers of their own. What runs through sudo (the packages, the other
# release's lane) gets the signal from sudo, and the lane stops what it started itself.
QUILVANE_TEST_RUN="$$.$(date +%s%N)"
export QUILVANE_TEST_RUN
marked_processes() {
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" != $$ ] || continue
        # Other users' processes cannot be read, and are not ours.
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "QUILVANE_TEST_RUN=$QUILVANE_TEST_RUN" &&
            echo "$pid"
    done
}
stop_everything() {
    trap '' INT TERM
    echo
    echo "== Interrupted: stopping what the test command started"
    [ -z "$foreground" ] || kill -TERM "$foreground" 2>/dev/null
    # Asked once: a second signal could cut short the clean-up a step makes on the first.
    pids=$(marked_processes)
    [ -z "$pids" ] || kill -TERM $pids 2>/dev/null
    waited=0
    while [ $waited -lt 60 ]; do
        pids=$(marked_processes)
        [ -z "$pids" ] && { [ -z "$foreground" ] || ! kill -0 "$foreground" 2>/dev/null; } && break
        sleep 0.5
        waited=$((waited + 1))
    done
    pids=$(marked_processes)
    [ -z "$pids" ] || kill -KILL $pids 2>/dev/null
    # The print tests' private print servers, whose clean-up test never ran.
    for state in build/tests/print/cups-fixture build-asan/tests/print/cups-fixture \
        build-windows/tests/windows/cups-fixture; do
        [ -d "$state" ] && sh tests/print/cups-fixture.sh stop "$state" >/dev/null 2>&1
    done
    echo "== Interrupted: everything it started has stopped"
    exit 130
}
trap stop_everything INT TERM

# Each target is compiled as one file (a unity build): Qt's headers, most of a file's compile
# time, are parsed once per target instead of once per file. This halves the builds from nothing.
configure() {
    _dir=$1
    shift
    cmake -S . -B "$_dir" -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON \
        -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 "$@" >/dev/null
}

codename=$(release_codename)
if [ $mode = all ] || [ $mode = other ]; then
    other=$(release_fact "$codename" other) || {
        echo "Quilvane is tested on $(release_fact bookworm name) and $(release_fact trixie name)," \
            "not on this system ($codename)" >&2
        exit 1
    }
    # As root, as the packages are installed: through sudo for a user.
    step "The other release, $other: its whole suite" $SUDO env \
        ${FUZZ_SECONDS:+FUZZ_SECONDS=$FUZZ_SECONDS} ${ORCA_TEST_KEEP:+ORCA_TEST_KEEP=$ORCA_TEST_KEEP} \
        ./scripts/release-lane.sh "$other"
    if [ $mode = other ]; then
        print_timings "Time taken"
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

if [ $mode = quick ]; then
    step "Ordinary build" ordinary_build || exit 1
else
    step "Fuzzers: build" ./fuzz/run-fuzzers.sh --build-only || exit 1
    # clang parses Qt's headers in two thirds of gcc's time and loads a precompiled header in a
    # fraction of it: this build takes a third of gcc's, and the code meets a second compiler.
    # A sanitizer's report needs no more debugging information than files and lines.
    step "Sanitizer build: configure" configure build-asan -DCMAKE_C_COMPILER=clang \
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
    mkdir -p build-fuzz
    fuzz_log=build-fuzz/fuzzers.log
    background "Fuzzers, side by side" $fuzz_log 5 \
        ./fuzz/run-fuzzers.sh --no-build "${FUZZ_SECONDS:-30}"
    finish_background "Fuzzers, side by side" $fuzz_log $background_pid && tail -n 4 $fuzz_log
    finish_background "Ordinary build" build/build.log $ordinary || exit 1
    # Windows is built and tested where its Qt is built: on Debian 12, here or in its lane.
    if [ "$codename" = "$WINDOWS_QT_RELEASE" ]; then
        step "Windows: built and tested under Wine" ./scripts/windows.sh --test
    fi
fi

print_timings "Time taken so far"
echo "== Test suite"
ctest --test-dir build --output-on-failure --parallel "$jobs" --no-label-summary &
foreground=$!
wait $foreground || status=1
exit $status
