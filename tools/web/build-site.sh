#!/bin/sh
# Builds the game for the browser into build-web/site: the game's data made
# by the project's own generator (a native build of it), the golden demos,
# the wasm game linked on the libraries of build-libs.sh, and the page.
set -e
. "$(dirname "$0")/env.sh"
SRC=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE="$WEB/native"
ROOT="$WEB/root"
GAME="$WEB/game"
SITE="$WEB/site"

# The generator runs on this machine, so it is built natively.
if [ ! -f "$NATIVE/CMakeCache.txt" ]; then
    cmake -S "$SRC" -B "$NATIVE" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
$NICE cmake --build "$NATIVE" -j2 --target assetgen >"$WEB/native-build.log" || {
    cat "$WEB/native-build.log"; exit 1; }

# The game root the page preloads: data/ and Data/ as the generator makes
# them (deterministic, so it is made again only when the generator changed),
# and the golden demos for ?play= and ?timedemo=.
if [ ! -f "$WEB/root.made" ] || [ "$NATIVE/tools/assetgen/assetgen" -nt "$WEB/root.made" ]; then
    rm -rf "$ROOT"
    mkdir -p "$ROOT"
    "$NATIVE/tools/assetgen/assetgen" "$ROOT" >"$WEB/assetgen.log"
    touch "$WEB/root.made"
fi
mkdir -p "$ROOT/demos"
cp -p "$SRC"/tests/demos/*.demo "$ROOT/demos/"

if [ ! -f "$GAME/CMakeCache.txt" ]; then
    $NICE emcmake cmake -S "$SRC" -B "$GAME" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DDRIFTWING_WEB_PREFIX="$PREFIX" -DDRIFTWING_WEB_ROOT="$ROOT" >"$WEB/game-configure.log" || {
        cat "$WEB/game-configure.log"; exit 1; }
fi
# The preloaded package is made at link time: relink when the data changed.
if [ "$WEB/root.made" -nt "$GAME/driftwing.js" ] || [ -n "$(find "$ROOT/demos" -newer "$GAME/driftwing.js" 2>/dev/null)" ]; then
    rm -f "$GAME/driftwing.js"
fi
$NICE cmake --build "$GAME" -j2 >"$WEB/game-build.log" || { cat "$WEB/game-build.log"; exit 1; }

mkdir -p "$SITE"
cp "$GAME/driftwing.js" "$GAME/driftwing.wasm" "$GAME/driftwing.data" "$SITE/"
cp "$SRC/web/page/index.html" "$SRC/web/page/page.js" "$SRC/web/page/page.css" "$SITE/"
# The page's icon: the desktop's, from the same generator.
"$NATIVE/tools/assetgen/assetgen" --icons "$WEB/icons" >/dev/null
cp "$WEB/icons/driftwing-48.png" "$SITE/icon.png"
echo "make web: the page is in $SITE"
