#!/bin/sh
# Quilvane for 64-bit Windows, built here: cross-compiled with mingw-w64 against Qt for Windows
# built from Debian's own qt6-base source (scripts/windows-qt.sh), then gathered into
# dist/windows/ as windeployqt would: Quilvane.exe with the DLLs, plugins, translations and
# font it needs beside it.
#   scripts/windows.sh          installs what is missing, builds and gathers dist/windows/
#   scripts/windows.sh --test   the same with the test programs, then runs the Windows tests
#                               under Wine, with a private Wine prefix, home and screen
# Each step says how long it took. Runs on Debian 12, whose Qt host tools match the Qt it builds.
set -eu
cd "$(dirname "$0")/.."
source_dir=$PWD
. scripts/host-archive.sh
. scripts/platforms.sh

test=0
case "${1:-}" in
    --test) test=1 ;;
    "") ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

build=build-windows
dist=dist/windows
status=0
timings=""
step() {
    _name=$1
    shift
    echo "== Windows: $_name"
    _start=$(date +%s)
    _rc=0
    "$@" || _rc=$?
    _seconds=$(($(date +%s) - _start))
    _verdict=""
    [ $_rc -eq 0 ] || { _verdict=", FAILED"; status=1; }
    echo "== Windows: $_name: ${_seconds} s$_verdict"
    timings="$timings$(printf '%6s s  Windows: %s%s' "$_seconds" "$_name" "$_verdict")
"
    return $_rc
}

if [ "$(release_codename)" != "$WINDOWS_QT_RELEASE" ]; then
    echo "windows.sh: Quilvane for Windows is built on $(release_fact "$WINDOWS_QT_RELEASE" name)," \
        "whose Qt host tools match the Qt for Windows it builds; here, run" \
        "scripts/release-lane.sh $WINDOWS_QT_RELEASE" >&2
    exit 3
fi
step "installing what is missing" ./scripts/install-deps.sh --windows || exit 1
qt=$(./scripts/windows-qt.sh) || exit 1
mingw_runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
/usr/x86_64-w64-mingw32/lib"

# What would carry the time of the build carries the time of the commit (or the time given),
# the archives' entries among it; the executables carry none (linked stripped, without a time
# stamp): two builds of one commit give the same bits.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 0)
fi
export SOURCE_DATE_EPOCH

# A build folder made against another Qt for Windows is made anew.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qxF "CMAKE_PREFIX_PATH:UNINITIALIZED=$qt" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
# Each target is one file, as in the test builds: Qt's headers are parsed once per target.
configure() {
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/MingwToolchain.cmake" \
        -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DQUILVANE_BENCHMARKS=OFF \
        -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DCMAKE_SHARED_LINKER_FLAGS_RELEASE=-s \
        -DCMAKE_MODULE_LINKER_FLAGS_RELEASE=-s \
        -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 \
        -DBUILD_TESTING=$([ $test -eq 1 ] && echo ON || echo OFF) \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$source_dir/tests/windows/wine-run.sh" >/dev/null &&
        cmake --build "$build" --parallel "$(nproc)"
}
step "cross build" configure || exit 1

# The DLLs a Windows binary imports that are Qt's or the compiler's, and theirs in turn; the
# system's own (KERNEL32.dll and the like) are Windows'.
dll_search="$qt/bin
$mingw_runtime"
imports_of() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | while read -r dll; do
        echo "$dll_search" | while read -r dir; do
            if [ -f "$dir/$dll" ]; then
                echo "$dir/$dll"
                break
            fi
        done
    done
}
gather() {
    rm -rf "$dist"
    mkdir -p "$dist/plugins/platforms" "$dist/translations" "$dist/fonts"
    cp "$build/app/Quilvane.exe" "$dist/"
    cp "$qt/plugins/platforms/qwindows.dll" "$dist/plugins/platforms/"
    # Qt's own texts in the user's language, Italian first among them.
    cp "$qt/translations/"qtbase_*.qm "$dist/translations/"
    [ -f "$dist/translations/qtbase_it.qm" ] || { echo "no Italian catalogue in $qt" >&2; return 1; }
    # Arial's metrics, where Windows has no Arial (Wine), with its licence.
    font_dir=$(dirname "$(fc-match -f '%{file}' 'Liberation Sans:style=Regular')")
    cp "$font_dir/LiberationSans-Regular.ttf" "$dist/fonts/"
    cp "/usr/share/doc/$(release_fact "$(release_codename)" fonts)/copyright" "$dist/fonts/LICENSE.txt"
    cp LICENSE "$dist/LICENSE.txt"
    cp "$qt/share/doc/qt6-base/copyright" "$dist/Qt-LICENSE.txt"
    # Until no binary imports a DLL that is not there.
    while :; do
        missing=$(find "$dist" -name '*.exe' -o -name '*.dll' | while read -r binary; do
            imports_of "$binary"
        done | sort -u | while read -r dll; do
            [ -f "$dist/$(basename "$dll")" ] || echo "$dll"
        done)
        [ -n "$missing" ] || break
        echo "$missing" | while read -r dll; do cp "$dll" "$dist/"; done
    done
    # The compiler's runtime comes with its debugging information, a 23 MB libstdc++ among it.
    # strip writes SOURCE_DATE_EPOCH into their headers.
    for dll in "$dist"/lib*.dll; do x86_64-w64-mingw32-strip --strip-unneeded "$dll"; done
    echo "dist/windows: $(du -sh "$dist" | cut -f1), $(find "$dist" -type f | wc -l) files"
}
step "gathering $dist" gather || exit 1

if [ $test -eq 1 ]; then
    step "tests under Wine" sh tests/windows/wine-lane.sh "$build" "$qt" "$mingw_runtime" || true
fi
printf '\nWindows, time taken:\n%s' "$timings"
exit $status
