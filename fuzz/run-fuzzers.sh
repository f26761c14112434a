#!/bin/sh
# Builds the libFuzzer targets with clang and runs them side by side, a bounded time each, on a
# copy of their seeds.
#   fuzz/run-fuzzers.sh [--build-only | --no-build] [seconds-per-target]      (default 60)
# The build goes to $FUZZ_BUILD_DIR (default: build-fuzz in the repository). Findings are kept
# in $FUZZ_BUILD_DIR/findings/<target>/. Exits non-zero when any target finds a fault.
set -eu

build=1
run=1
case "${1:-}" in
    --build-only) run=0; shift ;;
    --no-build) build=0; shift ;;
esac
seconds="${1:-60}"
case "$seconds" in
    '' | *[!0-9]*) echo "usage: $0 [--build-only | --no-build] [seconds-per-target]" >&2; exit 2 ;;
esac

fuzz_dir="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$fuzz_dir")"
build_dir="${FUZZ_BUILD_DIR:-$source_dir/build-fuzz}"
targets="fuzz_leading_number fuzz_locale_number fuzz_number_text"

if [ $build -eq 1 ]; then
    # The unversioned clang: Debian 12 and 13 both have it, as clang 14 and 19.
    cmake -S "$source_dir" -B "$build_dir" -G "Unix Makefiles" -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILVANE_FUZZ=ON -DBUILD_TESTING=OFF \
        -DQUILVANE_BENCHMARKS=OFF >/dev/null
    # shellcheck disable=SC2086
    cmake --build "$build_dir" --parallel "$(nproc)" --target $targets
fi
[ $run -eq 1 ] || exit 0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT INT TERM

# Side by side: each is one process on one core, and a build or the tests beside them may
# have the rest.
pids=""
for target in $targets; do
    corpus="$work/$target"
    findings="$build_dir/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp "$fuzz_dir/corpus/$target/"* "$corpus/"
    dict=""
    [ "$target" = fuzz_number_text ] || dict="-dict=$fuzz_dir/numbers.dict"
    echo "== $target: ${seconds}s"
    (
        status=0
        # shellcheck disable=SC2086
        "$build_dir/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" $dict \
            "$corpus" >"$work/$target.log" 2>&1 || status=$?
        echo "$status" >"$work/$target.status"
    ) &
    pids="$pids $!"
done
# shellcheck disable=SC2086
wait $pids

failed=""
summary=""
for target in $targets; do
    status=$(cat "$work/$target.status")
    findings="$build_dir/findings/$target"
    runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$work/$target.log" | tail -n 1)"
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$work/$target.log"
        failed="$failed $target"
        summary="$summary$target: FAILED (exit $status), findings in $findings
"
    else
        summary="$summary$target: ${runs:-?} executions, $(find "$work/$target" -type f | wc -l) corpus files
"
    fi
done

printf '\n%s' "$summary"
if [ -n "$failed" ]; then
    echo "faults found by:$failed" >&2
    exit 1
fi
