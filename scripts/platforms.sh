# Sourced (POSIX sh), and run as `sh platforms.sh FUNCTION ARGS...` by CMake and the tests: what
# differs by system, written once. Every script that needs a release's or Windows' facts reads
# them here.

KNOWN_RELEASES="bookworm trixie"

# release_fact CODENAME FIELD: one fact of a supported Debian release, or nothing for an unknown
# one. Fields:
#   name        how the README and the messages call it
#   fonts       the Liberation fonts 2 package (renamed in Debian 13; the other an empty
#               transitional package there)
#   libcups     libcups' package, which the .deb's computed dependencies name
#   homepage    "required" where AppStream fails a metainfo without a homepage (1.0 on), so the
#               package overrides lintian's tag for it; "optional" where it accepts one
#   other       the other supported release, whose lane the test command runs
release_fact() {
    case "$1:$2" in
        bookworm:name) echo "Debian 12 (bookworm)" ;;
        bookworm:fonts) echo fonts-liberation2 ;;
        bookworm:libcups) echo libcups2 ;;
        bookworm:homepage) echo optional ;;
        bookworm:other) echo trixie ;;
        trixie:name) echo "Debian 13 (trixie)" ;;
        trixie:fonts) echo fonts-liberation ;;
        trixie:libcups) echo libcups2t64 ;;
        trixie:homepage) echo required ;;
        trixie:other) echo bookworm ;;
        *) return 1 ;;
    esac
}

# release_codename [OS_RELEASE]: the codename this system (or that os-release file) names.
release_codename() {
    sed -n 's/^VERSION_CODENAME=//p' "${1:-${QUILVANE_OS_RELEASE:-/etc/os-release}}" 2>/dev/null |
        tr -d '"' | head -n 1
}

# Windows: Qt for Windows is built from this release's qt6-base source against its own Qt host
# tools, which must be the same Qt version; the Windows lane runs where this release does.
WINDOWS_QT_RELEASE=bookworm
# What building, packing and testing Quilvane for Windows needs besides the run set (which
# brings Qt's host tools and catalogues, dpkg-source and the font the program carries): the
# cross compilers, Ninja for Qt's build, GoogleTest's source, Wine with a screen, NSIS, and
# pefile to read the version record back.
WINDOWS_PKGS="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  mingw-w64-x86-64-dev ninja-build googletest \
  wine wine64 xvfb xauth xdotool imagemagick x11-utils nsis python3-pefile poppler-utils"

# apt_source PACKAGE DIR CODENAME: `apt-get source` of PACKAGE as CODENAME's archive has it, with
# its -updates and -security, into the current folder, Debian's patches applied. The deb-src
# lines are private to DIR: this machine's own apt sources are left as they are.
# apt_source_version PACKAGE DIR CODENAME: only the version it would fetch.
_private_apt() {
    _apt_command=$1
    _apt_dir=$2
    shift 2
    "$_apt_command" -q -o Dir::Etc::SourceList="$_apt_dir/sources.list" -o Dir::Etc::SourceParts=/nonexistent \
        -o Dir::State::Lists="$_apt_dir/lists" -o Dir::Cache="$_apt_dir/cache" \
        -o APT::Sandbox::User=root "$@"
}
_private_apt_update() {
    _apt_dir=$1
    _apt_codename=$2
    mkdir -p "$_apt_dir/lists/partial" "$_apt_dir/cache/archives/partial"
    : >"$_apt_dir/sources.list"
    for _apt_suite in "$_apt_codename" "$_apt_codename-updates" "$_apt_codename-security"; do
        _apt_uri=$(host_archive "$_apt_suite")
        [ -n "$_apt_uri" ] && echo "deb-src $_apt_uri $_apt_suite main" >>"$_apt_dir/sources.list"
    done
    [ -s "$_apt_dir/sources.list" ] || return 1
    _private_apt apt-get "$_apt_dir" update -qq >/dev/null
}
apt_source_version() {
    _private_apt_update "$2" "$3" || return 1
    _private_apt apt-cache "$2" showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n 1
}
apt_source() {
    _private_apt_update "$2" "$3" || return 1
    _private_apt apt-get "$2" source "$1"
}

if [ "${0##*/}" = platforms.sh ] && [ $# -gt 0 ]; then
    "$@"
fi
