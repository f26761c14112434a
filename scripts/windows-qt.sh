#!/bin/sh
# Builds Qt for 64-bit Windows from Debian's own qt6-base source, Debian's patches applied,
# with mingw-w64 against this machine's Qt host tools, and prints where it is:
#   scripts/windows-qt.sh      the prefix, built first if it is not there
# Built once per Qt source version and recipe; kept outside the clone under
# $QUILVANE_WINDOWS_CACHE (/var/cache/quilvane/windows), with only the modules Quilvane uses.
# Needs the Windows set of scripts/install-deps.sh, and root or sudo where the cache is root's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
# shellcheck source=host-archive.sh
. "$here/host-archive.sh"
# shellcheck source=platforms.sh
. "$here/platforms.sh"

say() { echo "windows-qt.sh: $*" >&2; }
die() { say "$*"; exit 1; }

codename=$(release_codename)
[ "$codename" = "$WINDOWS_QT_RELEASE" ] ||
    die "Qt for Windows is built from Debian 12's Qt, against its host tools: run this on Debian 12" \
        "(on Debian 13: scripts/release-lane.sh bookworm runs the Windows lane)"
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null) ||
    die "Qt's host tools are missing: ./scripts/install-deps.sh --windows installs them"

# What makes one build differ from another: the source's version, the compiler and these
# settings. A change of any makes a new prefix; the old one is removed once the new one is made.
# Only what Quilvane uses is built: Core, Gui, Widgets and Test, the Windows platform, and of the
# styles Fusion alone, so that the window looks as it does on Linux (Qt would pick the Windows
# styles first). OpenGL stays: the Windows platform does not compile without it (dynamic, it
# needs nothing at build time). Tablets need the wintab header that Debian's source leaves out.
recipe_options="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
-DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
-DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF
-DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF
-DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_jpeg=OFF
-DFEATURE_opengl_dynamic=ON -DFEATURE_tabletevent=OFF
-DFEATURE_style_windowsvista=OFF -DFEATURE_style_windows=OFF
-DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
-DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
-DFEATURE_system_doubleconversion=OFF -DFEATURE_pkg_config=OFF"
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null) ||
    die "the mingw-w64 compiler is missing: ./scripts/install-deps.sh --windows installs it"
recipe_id=$(printf '%s\n%s\n%s\n' "$recipe_options" "$compiler" "$(cat "$source_dir/cmake/MingwToolchain.cmake")" |
    sha256sum | cut -c1-12)

cache=${QUILVANE_WINDOWS_CACHE:-/var/cache/quilvane/windows}
# The machine's cache, made and kept as root when its owner is: a user reaches it through sudo,
# as the packages and the release lane's system, and every user reads what it holds.
existing=$cache
until [ -e "$existing" ]; do existing=$(dirname "$existing"); done
if [ ! -w "$existing" ] && [ "$(id -u)" -ne 0 ]; then
    exec sudo env QUILVANE_WINDOWS_CACHE="$cache" sh "$0" "$@"
fi
umask 022
mkdir -p "$cache"

version=$(apt_source_version qt6-base "$cache/apt" "$codename")
[ -n "$version" ] || die "no qt6-base source found in $codename's archive"
prefix=$cache/qt-$version-$recipe_id
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

exec 9>"$cache/qt.lock"
flock 9
[ -f "$prefix/.complete" ] && { echo "$prefix"; exit 0; }

start=$(date +%s)
# Always the same folder, so that no path in the build differs from one build to the next.
work=$cache/.qt-build
rm -rf "$work"
mkdir "$work"
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
say "building Qt $version for Windows (recipe $recipe_id) in $work: some 30 minutes on two cores"
(cd "$work" && apt_source qt6-base "$cache/apt" "$codename" >"$work/source.log" 2>&1) ||
    { tail -n 20 "$work/source.log" >&2; die "apt-get source qt6-base failed"; }
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
[ -f "$src/debian/patches/series" ] && [ -d "$src/.pc" ] ||
    die "the source in $src was not unpacked with Debian's patches"

# The time Debian gave this source, for what would otherwise carry the build's: strip writes it
# into the DLLs' headers.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)
export SOURCE_DATE_EPOCH

rm -rf "$prefix"
# shellcheck disable=SC2086
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/MingwToolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    $recipe_options >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; die "Qt's configure failed; its log was $work/configure.log"; }
nice -n 10 cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
    { grep -m 20 -E 'error:|undefined reference|FAILED:' "$work/build.log" | cut -c1-300 >&2
      die "Qt's build failed"; }
cmake --install "$work/build" --strip >"$work/install.log" 2>&1 ||
    { tail -n 20 "$work/install.log" >&2; die "Qt's install failed"; }
# Qt's own texts, as a Qt install has them: Debian's catalogues of the same Qt version (its
# qttranslations source), and the licence, from the source's Debian copyright file.
upstream() { echo "$1" | sed 's/^[0-9]*://; s/[+-].*//'; }
translations_version=$(dpkg-query -W -f='${Version}' qt6-translations-l10n)
[ "$(upstream "$translations_version")" = "$(upstream "$version")" ] ||
    die "qt6-translations-l10n is $translations_version, not of Qt $(upstream "$version")"
mkdir -p "$prefix/translations" "$prefix/share/doc/qt6-base"
cp /usr/share/qt6/translations/qtbase_*.qm "$prefix/translations/"
cp "$src/debian/copyright" "$prefix/share/doc/qt6-base/copyright"
printf 'qt6-base %s, host tools %s, mingw-w64 g++ %s\n%s\n' "$version" "$host_qt" "$compiler" \
    "$recipe_options" >"$prefix/.complete"
for old in "$cache"/qt-*; do
    [ "$old" = "$prefix" ] || rm -rf "$old"
done
say "Qt $version for Windows built in $(($(date +%s) - start)) s: $prefix"
echo "$prefix"
