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
fi

# The packages themselves the way the desktop's set-up installs its own.
exec sh "$(dirname "$0")/../setup.sh" emscripten chromium dpkg-dev ninja-build gzip python3
