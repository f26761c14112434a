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
step_prefix="Windows: "
. scripts/steps.sh
stop_steps_on_interrupt

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
        -DCMAKE_BUILD_TYPE=Release -DQUILVANE_BENCHMARKS=ON \
        -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DCMAKE_SHARED_LINKER_FLAGS_RELEASE=-s \
        -DCMAKE_MODULE_LINKER_FLAGS_RELEASE=-s \
        -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 \
        -DBUILD_TESTING=$([ $test -eq 1 ] && echo ON || echo OFF) \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$source_dir/scripts/wine-run.sh" >/dev/null &&
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
    [ ! -f "$build/app/quilvane-print.dll" ] || cp "$build/app/quilvane-print.dll" "$dist/"
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

# The installer and the portable zip, both made of dist/windows as gathered.
# Steps run in a shell of their own: what they share is set here.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
version_text=$(sed -n 's/^#define QUILVANE_VERSION_TEXT "\(.*\)"$/\1/p' \
    "$build/data/generated/QuilvaneVersion.h")
short=${version%.*}
setup="dist/Quilvane-$short-setup.exe"
zip="dist/Quilvane-$short-windows.zip"
package() {
    staging=$(mktemp -d)
    # What the uninstaller removes: each file the installer put there, then each folder, the
    # deepest first, if nothing else is left in it.
    (cd "$dist" &&
        find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|' &&
        find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|'
    ) >"$staging/files.nsh"
    makensis -V2 -DVERSION="$short" -DVERSION_TEXT="$version_text" -DVERSION_NUMBER="$version.0" \
        -DDIST="$source_dir/$dist" -DOUTFILE="$source_dir/$setup" -DFILE_LIST="$staging/files.nsh" \
        -DICON="$source_dir/data/icons/quilvane.ico" -DSIZE_KB="$(du -sk "$dist" | cut -f1)" \
        data/windows/Quilvane.nsi || { rm -rf "$staging"; return 1; }
    rm -rf "$staging"
    # One folder, Quilvane, its entries in one order, each with the same time and mode.
    /usr/bin/python3 scripts/make-zip.py "$zip" "$dist" Quilvane "$SOURCE_DATE_EPOCH" || return 1
    ls -l "$setup" "$zip" | awk '{ print $5, $NF }'
}
step "installer and zip" package || exit 1

# The same bits from a second build of the same sources in another folder, as a user who checks
# a download against a build of their own would make it.
reproduce() {
    _copy=$(mktemp -d)
    mkdir "$_copy/quilvane"
    tar -C "$source_dir" --exclude=./.git --exclude='./build*' --exclude=./dist -cf - . |
        tar -C "$_copy/quilvane" -xf -
    if ! (cd "$_copy/quilvane" && ./scripts/windows.sh) >"$_copy/build.log" 2>&1; then
        tail -n 30 "$_copy/build.log"
        rm -rf "$_copy"
        return 1
    fi
    _differ=""
    for _file in "$dist/Quilvane.exe" "$dist/quilvane-print.dll" "$setup" "$zip"; do
        cmp -s "$_file" "$_copy/quilvane/$_file" || _differ="$_differ $_file"
    done
    rm -rf "$_copy"
    [ -z "$_differ" ] || { echo "a second build differs in:$_differ"; return 1; }
    echo "a second build, elsewhere, made the same Quilvane.exe, print module, installer and zip"
}

if [ $test -eq 1 ]; then
    # The second build beside the tests under Wine, which take one desktop at a time and leave
    # a core to spare.
    background "the same bits twice" "$build/reproduce.log" 10 reproduce
    second_build=$background_pid
    step "tests under Wine" sh scripts/windows-lane.sh "$build" "$qt" "$mingw_runtime" || true
    finish_background "the same bits twice" "$build/reproduce.log" "$second_build" &&
        cat "$build/reproduce.log" || true
fi
print_timings "Windows, time taken"
exit $status
