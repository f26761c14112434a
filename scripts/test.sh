#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite:
#   1. the fuzzers, a bounded time each (skipped with --quick);
#   2. the test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (skipped with --quick);
#   3. the test suite on the ordinary build, last, so that its summary closes the output.
# Exits non-zero when any step fails.
set -u
cd "$(dirname "$0")/.."
# The lead's "this system only" run; here every run is.
[ "${1:-}" = "--this-release" ] && shift
quick=0
[ "${1:-}" = "--quick" ] && quick=1
jobs=$(nproc)
status=0

./scripts/install-deps.sh --test || exit 1

if [ $quick -eq 0 ]; then
    echo "== Fuzzing the number conversions"
    FUZZ_BUILD_DIR="$PWD/build-fuzz" ./fuzz/run-fuzzers.sh "${FUZZ_SECONDS:-60}" || status=1

    echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILVANE_SANITIZE=ON \
        -DBUILD_TESTING=ON -DQUILVANE_BENCHMARKS=OFF >/dev/null || exit 1
    cmake --build build-asan --parallel "$jobs" || exit 1
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure --parallel "$jobs" -LE packaging || status=1
fi

echo "== Test suite"
# scripts/run.sh shares this build directory with tests and benchmarks turned off.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=ON -DQUILVANE_BENCHMARKS=ON >/dev/null || exit 1
cmake --build build --parallel "$jobs" || exit 1
ctest --test-dir build --output-on-failure --parallel "$jobs" --no-label-summary || status=1
exit $status
