#!/bin/sh
# Installs the Debian 12 packages Quilvane needs; skips apt entirely when they are all there.
#   install-deps.sh --run    what building and running the program needs (scripts/run.sh)
#   install-deps.sh [--test] that, plus the tools of the tests, benchmarks and fuzzers
#   install-deps.sh --list [--run|--test]   prints the set, one package a line, and installs nothing
set -eu

# dpkg-dev and libx11-dev come with build-essential and libgl-dev anyway; named here because
# packaging and the start-up benchmark use them directly.
RUN_PKGS="build-essential cmake pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev libcups2-dev \
  fonts-liberation2 qt6-translations-l10n \
  dpkg-dev libx11-dev"
TEST_ONLY_PKGS="git file \
  libgtest-dev googletest libbenchmark-dev \
  xvfb xauth xdotool imagemagick x11-utils strace \
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils \
  desktop-file-utils appstream librsvg2-bin lintian \
  weston qt6-wayland \
  qt6ct qt6-gtk-platformtheme gnome-themes-extra \
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox at-spi2-core dbus-daemon \
  clang libclang-rt-dev lld"

set_name=test
list=0
for arg in "$@"; do
  case $arg in
    --run) set_name=run ;;
    --test) set_name=test ;;
    --list) list=1 ;;
    *) echo "usage: $0 [--run|--test] [--list]" >&2; exit 2 ;;
  esac
done
PKGS=$RUN_PKGS
[ "$set_name" = test ] && PKGS="$RUN_PKGS $TEST_ONLY_PKGS"
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
