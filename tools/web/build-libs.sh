#!/bin/sh
# Builds SDL 2, libxmp and SDL2_mixer for WebAssembly from Debian's own source
# packages, into build-web/deps/prefix. Sources come by `apt-get source`;
# nothing is downloaded elsewhere. The Makefile beside this script compiles
# plain source lists (no configure step, which cost most of half an hour),
# and a stamp holding a hash of the recipe, the compiler and the source
# versions skips the whole step on a later run; a changed recipe or
# emscripten builds again.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/env.sh"
mkdir -p "$DEPS" "$PREFIX"
cd "$DEPS"

log() { echo "build-libs: $*"; }

# fetch PACKAGE GLOB: unpacks Debian's source package once and prints its folder.
fetch() {
    dir=$(ls -d $2 2>/dev/null | head -n 1)
    if [ -z "$dir" ]; then
        log "fetching the source of $1" >&2
        apt-get source -qq "$1" >/dev/null 2>&1 || apt-get source "$1" >&2
        dir=$(ls -d $2 | head -n 1)
    fi
    echo "$DEPS/$dir"
}

t=$(date +%s)
SDL2=$(fetch libsdl2 'libsdl2-2.*')
XMP=$(fetch libxmp 'libxmp-4.*')
MIXER=$(fetch libsdl2-mixer 'libsdl2-mixer-2.*')
log "sources ready in $(( $(date +%s) - t )) s"

# Compile with the clang emcc runs and the flags it would give it (`emcc
# --cflags`): the same objects, without emcc's start-up once per file.
CC=emcc
CFLAGS_EM=""
root=$(em-config LLVM_ROOT 2>/dev/null || true)
ver=$(em-config CLANG_ADD_VERSION 2>/dev/null || true)
for c in "$root/clang-$ver" "$root/clang"; do
    if [ -x "$c" ] && flags=$(emcc --cflags 2>/dev/null); then
        CC=$c CFLAGS_EM=$flags
        break
    fi
done

libs="$PREFIX/lib/libSDL2.a $PREFIX/lib/libxmp.a $PREFIX/lib/libSDL2_mixer.a"
hash=$( { cat "$HERE/Makefile" "$HERE/build-libs.sh"; echo "$CC $CFLAGS_EM $SDL2 $XMP $MIXER"; } | sha256sum | cut -d' ' -f1)
if [ "$(cat libs.stamp 2>/dev/null)" = "$hash" ] && ls $libs >/dev/null 2>&1; then
    log "libraries up to date in $PREFIX/lib"
    exit 0
fi
rm -f libs.stamp
for lib in sdl2 xmp mixer; do
    t=$(date +%s)
    $NICE make -s -f "$HERE/Makefile" -j2 SDL2="$SDL2" XMP="$XMP" MIXER="$MIXER" \
        OBJ="$DEPS/obj" PREFIX="$PREFIX" CC="$CC" CFLAGS_EM="$CFLAGS_EM" AR=emar $lib
    log "$lib built in $(( $(date +%s) - t )) s"
done
ls $libs >/dev/null
echo "$hash" >libs.stamp
log "libraries ready in $PREFIX/lib"
