#!/bin/sh
# Installs what is missing, builds Quilvane and opens its window.
# Only the program is configured: tests and benchmarks need tools that running does not.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DQUILVANE_BENCHMARKS=OFF >/dev/null
cmake --build build --parallel "$(nproc)" --target quilvane
exec ./build/app/quilvane
