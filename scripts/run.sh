#!/bin/sh
# Installs what is missing, builds Quilvane and opens its window.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target quilvane
exec ./build/app/quilvane
