#!/bin/sh
# Installs every Debian package the build, the tests and the program need.
# Safe to run again: apt-get only fetches what is missing.
set -e
PKGS="build-essential cmake ninja-build pkg-config \
 qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins qt6-translations-l10n \
 libgl-dev libxkbcommon-dev libxkbcommon-x11-dev libx11-dev \
 libgtest-dev libgmock-dev libbenchmark-dev locales \
 libjpeg62-turbo-dev \
 libcanberra-dev sound-theme-freedesktop \
 fonts-ipafont-gothic fonts-noto-cjk \
 clang libclang-rt-14-dev \
 desktop-file-utils appstream \
 xvfb x11-utils libxcb1-dev libfontconfig-dev \
 dpkg-dev file man-db lintian mold \
 poppler-utils \
 dbus at-spi2-core python3-pyatspi xdotool"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
