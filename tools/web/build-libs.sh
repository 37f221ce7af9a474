#!/bin/sh
# Builds SDL 2, libxmp and SDL2_mixer for WebAssembly from Debian's own source
# packages, into build-web/deps/prefix. Each library is built once: a later
# run finds its stamp and skips it, so `make web` pays for this only the first
# time (SDL 2's configure alone links a test program per check and takes
# minutes). Sources come by `apt-get source`; nothing is downloaded elsewhere.
set -e
. "$(dirname "$0")/env.sh"
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

# --- SDL 2 -----------------------------------------------------------------
# Static, no threads (a plain wasm build has none), no test library. Its
# configure is slow (one full emcc link per check); the CMake cache in
# sdl2-build keeps the answers, so an interrupted build resumes quickly.
if [ ! -f "$DEPS/sdl2.stamp" ]; then
    src=$(fetch libsdl2 'libsdl2-2.*')
    log "SDL 2: configure"
    $NICE emcmake cmake -S "$src" -B sdl2-build -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_THREADS=OFF -DSDL_TEST=OFF >sdl2-configure.log
    log "SDL 2: build"
    $NICE cmake --build sdl2-build -j2 >sdl2-build.log
    cmake --install sdl2-build >/dev/null
    touch "$DEPS/sdl2.stamp"
fi

# --- libxmp ----------------------------------------------------------------
# Autotools, and its makefiles do not build out of tree: build in a copy.
if [ ! -f "$DEPS/xmp.stamp" ]; then
    src=$(fetch libxmp 'libxmp-4.*')
    log "libxmp: configure and build"
    rm -rf xmp-build && cp -r "$src" xmp-build
    (cd xmp-build &&
        $NICE emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$PREFIX" \
            --disable-shared --enable-static CFLAGS=-O2 >../xmp-configure.log 2>&1 &&
        $NICE emmake make -j2 >../xmp-build.log 2>&1 &&
        emmake make install >/dev/null 2>&1)
    touch "$DEPS/xmp.stamp"
fi

# --- SDL2_mixer ------------------------------------------------------------
# WAV for the sound effects and libxmp for the music module; every other
# codec, the external player and MIDI are off. Linked statically, no dlopen.
if [ ! -f "$DEPS/mixer.stamp" ]; then
    src=$(fetch libsdl2-mixer 'libsdl2-mixer-2.*')
    # 2.6.2's Findlibxmp.cmake calls find_package_handle_standard_args
    # without including the module that defines it; include it first.
    echo 'include(FindPackageHandleStandardArgs)' >"$DEPS/mixer-include.cmake"
    log "SDL2_mixer: configure"
    $NICE emcmake cmake -S "$src" -B mixer-build -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DCMAKE_PROJECT_INCLUDE="$DEPS/mixer-include.cmake" \
        -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" \
        -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
        -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_MIDI=OFF \
        -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= \
        -DSDL2MIXER_WAVE=ON -DSDL2MIXER_MOD=ON -DSDL2MIXER_MOD_MODPLUG=OFF \
        -DSDL2MIXER_MOD_XMP=ON -DSDL2MIXER_MOD_XMP_SHARED=OFF \
        -Dlibxmp_LIBRARY="$PREFIX/lib/libxmp.a" -Dlibxmp_INCLUDE_PATH="$PREFIX/include" \
        >mixer-configure.log
    log "SDL2_mixer: build"
    $NICE cmake --build mixer-build -j2 >mixer-build.log
    cmake --install mixer-build >/dev/null
    touch "$DEPS/mixer.stamp"
fi

for lib in libSDL2.a libxmp.a libSDL2_mixer.a; do
    [ -f "$PREFIX/lib/$lib" ] || { log "missing $PREFIX/lib/$lib" >&2; exit 1; }
done
log "libraries ready in $PREFIX/lib"
