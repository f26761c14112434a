#!/bin/sh
# Installs the Debian packages Quilvane needs on the release it runs on (Debian 12 "bookworm" or
# Debian 13 "trixie"); skips apt entirely when they are all there.
#   install-deps.sh --run      what building and running the program needs (scripts/run.sh)
#   install-deps.sh [--test]   that, plus the tools of the tests, benchmarks and fuzzers, and
#                              on the release that builds for Windows the Windows set too
#   install-deps.sh --windows  the run set and what building and testing for Windows needs
#   install-deps.sh --list [--run|--test|--windows]   prints the set, one package a line, and
#                                                     installs nothing
# The release is read from $QUILVANE_OS_RELEASE, by default /etc/os-release.
set -eu
. "$(dirname "$0")/platforms.sh"

# dpkg-dev and libx11-dev come with build-essential and libgl-dev anyway; named here because
# packaging and the start-up benchmark use them directly.
RUN_PKGS="build-essential cmake pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev libcups2-dev \
  qt6-translations-l10n \
  dpkg-dev libx11-dev"
# clang and libclang-rt-dev are each release's default clang (14 on Debian 12, 19 on 13).
TEST_ONLY_PKGS="git file \
  libgtest-dev googletest libbenchmark-dev qt6-base-private-dev \
  xvfb xauth xdotool imagemagick x11-utils strace \
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils \
  desktop-file-utils appstream librsvg2-bin lintian \
  weston qt6-wayland \
  qt6ct qt6-gtk-platformtheme gnome-themes-extra \
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox at-spi2-core dbus-daemon \
  clang libclang-rt-dev lld \
  debootstrap"

set_name=test
list=0
for arg in "$@"; do
  case $arg in
    --run) set_name=run ;;
    --test) set_name=test ;;
    --windows) set_name=windows ;;
    --list) list=1 ;;
    *) echo "usage: $0 [--run|--test|--windows] [--list]" >&2; exit 2 ;;
  esac
done

os_release=${QUILVANE_OS_RELEASE:-/etc/os-release}
codename=$(release_codename "$os_release")
case " $KNOWN_RELEASES " in
  *" ${codename:-?} "*) ;;
  *)
    echo "install-deps.sh: this system is '${codename:-unnamed}' ($os_release); Quilvane knows" \
      "the packages of $(release_fact bookworm name) and $(release_fact trixie name) only" >&2
    exit 3
    ;;
esac

PKGS="$RUN_PKGS $(release_fact "$codename" fonts)"
[ "$set_name" = test ] && PKGS="$PKGS $TEST_ONLY_PKGS"
if [ "$set_name" = windows ] || { [ "$set_name" = test ] && [ "$codename" = "$WINDOWS_QT_RELEASE" ]; }; then
  PKGS="$PKGS $WINDOWS_PKGS"
fi
# Each once, in the order given: the sets share some.
PKGS=$(printf '%s\n' $PKGS | awk '!seen[$0]++')
if [ $list -eq 1 ]; then
  for p in $PKGS; do echo "$p"; done
  exit 0
fi

missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "Installing:$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
