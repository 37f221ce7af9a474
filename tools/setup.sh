#!/bin/sh
# Installs the Debian packages that building, generating the data and testing need.
# Quiet and quick when everything is already there; uses sudo only when not root.
# Given package names, installs those instead (the web build's own set).
set -e

PACKAGES="$*"
[ -n "$PACKAGES" ] || PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libsdl-mixer1.2-dev \
libsdl2-dev libsdl2-mixer-dev libsdl1.2-compat \
zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev fonts-dejavu-core libxmp-dev \
xvfb xdotool x11-apps x11-utils imagemagick weston openbox \
desktop-file-utils appstream man-db dpkg-dev lintian clang-14 libclang-rt-14-dev valgrind"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
# Wait for another install that holds the package lock instead of failing.
APT="apt-get -o DPkg::Lock::Timeout=600"
$SUDO $APT update -qq
$SUDO $APT install -y -qq --no-install-recommends $missing >/dev/null
