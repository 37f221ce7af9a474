#!/bin/sh
# Installs what the browser build needs, on top of tools/setup.sh: the wasm
# compiler, a headless browser for its test, and a source entry so that
# build-libs.sh can fetch SDL 2, SDL2_mixer and libxmp as Debian ships them.
# Only `make web` and `make test-web` call it, so the desktop builds never pay.
set -e

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
APT="apt-get -o DPkg::Lock::Timeout=600"
updated=""

# apt-get source needs a deb-src entry: the same archives and suites as the
# machine's own Debian entry. Written once, beside it.
SRC=/etc/apt/sources.list.d/driftwing-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && \
   ! grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$SRC" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/driftwing-src.list >/dev/null
    else
        echo "setup-web: no Debian source list to copy a deb-src entry from" >&2
        exit 1
    fi
    $SUDO $APT update -qq
    updated=1
fi

PACKAGES="emscripten chromium dpkg-dev ninja-build gzip python3"
missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
[ -n "$updated" ] || $SUDO $APT update -qq
$SUDO $APT install -y -qq --no-install-recommends $missing >/dev/null
