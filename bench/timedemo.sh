#!/usr/bin/env bash
# Times the golden demos with --timedemo on SDL's dummy drivers, times the
# plain-SDL reference on the same fills and blits, prints both and their
# ratio, and the peak resident memory of the game and of SDL alone.
#   timedemo.sh BUILD_DIR   (a build with -DDRIFTWING_BENCH=ON)
set -eu
BUILD=$(readlink -f "$1")
SRC=$(cd "$(dirname "$0")/.." && pwd)
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
work=$(mktemp -d /tmp/driftwing-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
"$BUILD/tools/assetgen/assetgen" "$work" >/dev/null
cd "$work"

# The best of three runs: the machine is shared, and the best run is the one
# least disturbed by others.
best() { sort -g | head -1; }
seconds() { sed -E 's/.*, ([0-9.]+) s, .*/\1/'; }

for demo in "$SRC"/tests/demos/*.demo; do
    name=$(basename "$demo" .demo)
    game=$(for _ in 1 2 3; do "$BUILD/driftwing" --timedemo "$demo" 2>/dev/null | grep '^passes' | seconds; done | best)
    line=$("$BUILD/driftwing" --timedemo "$demo" 2>/dev/null | grep '^passes')
    DRIFTWING_DRAWLOG="$work/$name.log" "$BUILD/bench/driftwing_drawlog" --timedemo "$demo" >/dev/null 2>&1
    ref=$(for _ in 1 2 3; do "$BUILD/bench/drawref" "$work/$name.log" | grep '^reference' | seconds; done | best)
    passes=$(echo "$line" | sed -E 's/^passes ([0-9]+),.*/\1/')
    rss=0   # shown as 0 where GNU time is not installed
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -o "$work/rss" -f '%M' "$BUILD/driftwing" --timedemo "$demo" >/dev/null 2>&1
        rss=$(tail -1 "$work/rss")
    fi
    awk -v n="$name" -v p="$passes" -v g="$game" -v r="$ref" -v m="$rss" 'BEGIN {
        printf "%-10s %6d passes  game %.3f s (%.0f passes/s)  reference %.3f s (%.0f frames/s)  ratio %.3f  peak RSS %d KB\n",
               n, p, g, p / g, r, p / r, g / r, m }'
done
echo
"$BUILD/bench/drawref" "$work/dogfight.log" | sed -n '2,$p'
"$BUILD/bench/drawref" --rss
