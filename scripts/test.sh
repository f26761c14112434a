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
case "${1:-}" in
    '') ;;
    --quick) mode=quick ;;
    --this-release) mode=this ;;
    --other-release) mode=other ;;
    *) echo "usage: $0 [--quick | --this-release | --other-release]" >&2; exit 2 ;;
esac
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

configure() {
    _dir=$1
    shift
    cmake -S . -B "$_dir" -DBUILD_TESTING=ON "$@" >/dev/null
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

fuzz_pid=""
if [ $mode != quick ]; then
    step "Fuzzers: build" ./fuzz/run-fuzzers.sh --build-only || exit 1
    step "Sanitizer build" configure build-asan -DCMAKE_BUILD_TYPE=Debug \
        -DQUILVANE_SANITIZE=ON -DQUILVANE_BENCHMARKS=OFF || exit 1
    step "Sanitizer build" cmake --build build-asan --parallel "$jobs" || exit 1

    # The tests mostly wait on screens, servers and the screen reader: the fuzzers fill the idle
    # cores, a notch below the tests so as not to slow them.
    fuzz_log=build-fuzz/fuzzers.log
    fuzz_start=$(date +%s)
    nice -n 10 ./fuzz/run-fuzzers.sh --no-build "${FUZZ_SECONDS:-30}" >"$fuzz_log" 2>&1 &
    fuzz_pid=$!
    step "Sanitizer suite" env ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure --parallel "$jobs" \
        -LE packaging --no-label-summary

    fuzz_rc=0
    wait "$fuzz_pid" || fuzz_rc=$?
    fuzz_seconds=$(($(date +%s) - fuzz_start))
    cat "$fuzz_log"
    fuzz_verdict=""
    [ $fuzz_rc -eq 0 ] || { fuzz_verdict=", FAILED"; status=1; }
    echo "== Fuzzers, beside the sanitizer suite: ${fuzz_seconds} s$fuzz_verdict"
    timings="$timings$(printf '%6s s  %s%s' "$fuzz_seconds" \
        "Fuzzers, beside the sanitizer suite" "$fuzz_verdict")
"
fi

# scripts/run.sh shares this build directory with tests and benchmarks turned off.
step "Build" configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILVANE_BENCHMARKS=ON || exit 1
step "Build" cmake --build build --parallel "$jobs" || exit 1

printf '\nTime taken so far:\n%s' "$timings"
echo "== Test suite"
ctest --test-dir build --output-on-failure --parallel "$jobs" --no-label-summary || status=1
exit $status
