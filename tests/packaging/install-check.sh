#!/bin/sh
# Installs the build tree into a scratch prefix, compares what landed with the expected file
# list and checks the installed program starts.
# Usage: install-check.sh <build dir> <expected-files.txt>
set -eu
build=$1
expected=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: cmake --install did not succeed"
    exit 1
fi

(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$work/installed.txt"
if ! diff -u "$expected" "$work/installed.txt"; then
    echo "FAIL: the installed files differ from the expected list (- expected, + installed)"
    exit 1
fi

# An installed program that still looks for libraries in the build tree works only here.
if readelf -d "$prefix/bin/quilvane" | grep -F "$build"; then
    echo "FAIL: the installed program still refers to the build directory"
    exit 1
fi

# Still running when timeout stops it (status 124) means it got through start-up.
mkdir -m 700 "$work/runtime" "$work/home"
set +e
(cd "$work" && HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 3 "$prefix/bin/quilvane" >"$work/run.log" 2>&1)
status=$?
set -e
if [ "$status" -ne 124 ]; then
    cat "$work/run.log"
    echo "FAIL: the installed program exited with status $status instead of staying open"
    exit 1
fi
echo "OK: $(wc -l <"$expected") files installed where expected; the program starts"
