#!/bin/sh
# The run command installs no test tool: resolved by apt as on a machine that has nothing yet,
# the run set and everything it brings along hold none of the packages only the tests need.
# Usage: run-set-check.sh <scripts dir>
set -eu
scripts=$1
. "$(dirname "$0")/fresh-install-plan.sh"

grep -q '^\./scripts/install-deps\.sh --run$' "$scripts/run.sh" ||
    fail "run.sh does not install the run set alone"

"$scripts/install-deps.sh" --list --run | LC_ALL=C sort >"$work/run.txt"
"$scripts/install-deps.sh" --list --test | LC_ALL=C sort >"$work/test.txt"
LC_ALL=C comm -13 "$work/run.txt" "$work/test.txt" >"$work/test-only.txt"
[ -s "$work/test-only.txt" ] || fail "the test set adds nothing to the run set"

fresh_install_plan "$work/run.txt" || fail "apt cannot install the run set"

leaked=$(LC_ALL=C comm -12 "$work/test-only.txt" "$work/installed.txt")
[ -z "$leaked" ] || fail "the run set brings test-only packages:" $leaked
echo "OK: the run set installs $(wc -l <"$work/installed.txt") packages," \
    "none of the $(wc -l <"$work/test-only.txt") test-only ones"
