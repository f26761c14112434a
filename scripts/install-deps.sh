#!/bin/sh
# Installs every Debian 12 package that building, running and testing Quilvane needs.
# Skips apt entirely when everything is already there.
set -eu
PKGS="build-essential cmake pkg-config git \
  qt6-base-dev qt6-base-dev-tools libgl-dev libcups2-dev \
  libgtest-dev googletest libbenchmark-dev \
  fonts-liberation2 \
  xvfb xauth xdotool imagemagick x11-utils libx11-dev strace \
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils \
  desktop-file-utils appstream librsvg2-bin dpkg-dev file \
  clang-14 libclang-rt-14-dev"
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
