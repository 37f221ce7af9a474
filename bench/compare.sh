#!/usr/bin/env bash
# Both builds measured in one run, each variant in turn: the SDL 1.2 build on
# classic SDL 1.2 and on the compatibility library (sdl12-compat, preloaded),
# and the SDL 2 build.
#   compare.sh BUILD_SDL12 BUILD_SDL2   (Release builds with -DDRIFTWING_BENCH=ON)
# For each: the golden demos with --timedemo on the dummy drivers and the
# plain-SDL reference of its library (best of three), the real frame loop
# under Xvfb with and without --vsync, the first frame (start-up, loading
# screen, one pass, exit, under Xvfb; median of five) and the peak RSS.
set -u
B12=$(readlink -f "$1")
B2=$(readlink -f "$2")
SRC=$(cd "$(dirname "$0")/.." && pwd)
COMPAT=/usr/lib/x86_64-linux-gnu/sdl12-compat/libSDL-1.2.so.0
work=$(mktemp -d /tmp/driftwing-compare-XXXXXX)
source "$SRC/tests/e2e/common.sh"
trap cleanup EXIT
"$B12/tools/assetgen/assetgen" "$work" >/dev/null
cd "$work" || exit 1

# A demo of one pass: a golden demo's header, one 10 ms pass, the end.
head -c 26 "$SRC/tests/demos/dogfight.demo" >one.demo
printf '\012\200\001\000\000\000' >>one.demo

best() { sort -g | head -1; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() { sed -E 's/.*, ([0-9.]+) s, .*/\1/'; }
# run BUILD PRELOAD PROGRAM ARGS...: a program of the build, with the
# compatibility library preloaded when PRELOAD is 1.
run() {
    local build=$1 preload=$2 prog=$3
    shift 3
    if [ "$preload" = 1 ]; then LD_PRELOAD=$COMPAT "$build/$prog" "$@"; else "$build/$prog" "$@"; fi
}

timed() {   # BUILD PRELOAD: passes/s of the game and of the reference over the three demos
    local build=$1 preload=$2 passes=0 game=0 ref=0
    for demo in "$SRC"/tests/demos/*.demo; do
        local name line g r p
        name=$(basename "$demo" .demo)
        line=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy run "$build" "$preload" driftwing --timedemo "$demo" 2>/dev/null | grep '^passes')
        p=$(echo "$line" | sed -E 's/^passes ([0-9]+),.*/\1/')
        g=$(for _ in 1 2 3; do SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy run "$build" "$preload" driftwing --timedemo "$demo" 2>/dev/null | grep '^passes' | seconds; done | best)
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DRIFTWING_DRAWLOG="$work/$name.log" \
            run "$build" "$preload" bench/driftwing_drawlog --timedemo "$demo" >/dev/null 2>&1
        r=$(for _ in 1 2 3; do run "$build" "$preload" bench/drawref "$work/$name.log" | grep '^reference' | seconds; done | best)
        passes=$((passes + p))
        game=$(awk -v a="$game" -v b="$g" 'BEGIN { print a + b }')
        ref=$(awk -v a="$ref" -v b="$r" 'BEGIN { print a + b }')
    done
    awk -v p="$passes" -v g="$game" -v r="$ref" 'BEGIN { printf "%.0f | %.0f | %.3f", p / g, p / r, g / r }'
}

live() {    # BUILD PRELOAD [--vsync]: passes per second of play in a window under Xvfb
    local build=$1 preload=$2
    shift 2
    run "$build" "$preload" driftwing --window --nosound --record "$work/live.demo" "$@" >"$work/live.txt" 2>&1 &
    gpid=$!
    sleep 9
    xdotool search --name '^Driftwing$' windowfocus --sync key Escape >/dev/null 2>&1 || kill "$gpid"
    wait "$gpid" 2>/dev/null
    gpid=
    sed -nE 's/^passes ([0-9]+),.* clock ([0-9]+) ms.*/\1 \2/p' "$work/live.txt" \
        | awk '{ printf "%.0f", $1 / ($2 / 1000) }'
}

firstframe() {  # BUILD PRELOAD: seconds from start to exit with one pass shown
    local build=$1 preload=$2
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f %e -o "$work/t" bash -c "$(declare -f run); COMPAT=$COMPAT; run '$build' '$preload' driftwing --nosound --window --timedemo one.demo" >/dev/null 2>&1
        tail -1 "$work/t"
    done | median
}

rss() {     # BUILD PRELOAD: peak resident KB playing the longest golden demo
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f %M -o "$work/m" \
        bash -c "$(declare -f run); COMPAT=$COMPAT; run '$1' '$2' driftwing --timedemo '$SRC/tests/demos/dogfight.demo'" >/dev/null 2>&1
    tail -1 "$work/m"
}

startX 1024x768x24
echo "| build | timedemo passes/s | reference passes/s | ratio | live passes/s | live, --vsync | first frame s | peak RSS KB |"
echo "|---|---|---|---|---|---|---|---|"
for variant in "SDL 1.2|$B12|0" "SDL 1.2 build on sdl12-compat|$B12|1" "SDL 2|$B2|0"; do
    IFS='|' read -r label build preload <<<"$variant"
    t=$(timed "$build" "$preload")
    l=$(live "$build" "$preload")
    v=$(live "$build" "$preload" --vsync)
    f=$(firstframe "$build" "$preload")
    m=$(rss "$build" "$preload")
    echo "| $label | $t | $l | $v | $f | $m |"
done
