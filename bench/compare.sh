#!/usr/bin/env bash
# Both builds measured in one run, each variant in turn: the SDL 1.2 build on
# classic SDL 1.2 and on the compatibility library (sdl12-compat, preloaded),
# and the SDL 2 build.
#   compare.sh BUILD_SDL12 BUILD_SDL2   (Release builds with -DDRIFTWING_BENCH=ON)
# For each: the golden demos with --timedemo --nosound on the dummy drivers
# and the plain-SDL reference of its library, which shows its frames as the
# game did (best of three); instructions per pass of both over the first
# COUNTED passes of each golden demo (default 100), under callgrind; the
# real frame loop in
# a window under Xvfb with and without --vsync (best of two), the first frame
# (start-up, loading screen, one pass, exit, under Xvfb; median of five) and
# the peak RSS playing the longest golden demo (with sound).
set -u
B12=$(readlink -f "$1")
B2=$(readlink -f "$2")
SRC=$(cd "$(dirname "$0")/.." && pwd)
COMPAT=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/sdl12-compat/libSDL-1.2.so.0
work=$(mktemp -d /tmp/driftwing-compare-XXXXXX)
source "$SRC/tests/e2e/common.sh"
source "$SRC/bench/instructions.sh"
COUNTED=${COUNTED:-100}
trap cleanup EXIT
"$B12/tools/assetgen/assetgen" "$work" >/dev/null
cd "$work" || exit 1

# A demo of one pass: a golden demo's header (magic, version, version text,
# seed, fingerprint, first tick, best), one 10 ms pass, the end.
textLength=$(od -An -tu1 -j10 -N1 "$SRC/tests/demos/dogfight.demo" | tr -d ' ')
head -c $((8 + 2 + 1 + textLength + 16)) "$SRC/tests/demos/dogfight.demo" >one.demo
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

# One measure of one variant; the variants take turns, run after run, so
# that a busy spell of the shared machine falls on all of them alike, and the
# best (or the median) of the runs is kept.
gameSeconds() {   # BUILD PRELOAD DEMO
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy run "$1" "$2" driftwing --nosound --timedemo "$3" 2>/dev/null \
        | grep '^passes' | seconds
}
refSeconds() {    # BUILD PRELOAD LOG
    run "$1" "$2" bench/drawref "$3" | grep '^reference' | seconds
}
live() {    # BUILD PRELOAD [--vsync]: passes per second of play in a window under Xvfb
    local build=$1 preload=$2 pre=()
    shift 2
    [ "$preload" = 1 ] && pre=(env LD_PRELOAD="$COMPAT")
    "${pre[@]}" "$build/driftwing" --window --nosound --record "$work/live.demo" "$@" >"$work/live.txt" 2>&1 &
    gpid=$!
    sleep 9
    # A quit signal ends the game as its window's close does, with the
    # summary line.
    kill -TERM "$gpid"
    for _ in $(seq 50); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$gpid" 2>/dev/null
    wait "$gpid" 2>/dev/null
    gpid=
    sed -nE 's/^passes ([0-9]+),.* clock ([0-9]+) ms.*/\1 \2/p' "$work/live.txt" \
        | awk '{ printf "%.0f", $1 / ($2 / 1000) }'
}
firstFrame() {  # BUILD PRELOAD: seconds from start to exit with one pass shown
    /usr/bin/time -f %e -o "$work/t" bash -c "$(declare -f run); COMPAT=$COMPAT; run '$1' '$2' driftwing --nosound --window --timedemo one.demo" >/dev/null 2>&1
    tail -1 "$work/t"
}
rss() {     # BUILD PRELOAD: peak resident KB playing the longest golden demo
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f %M -o "$work/m" \
        bash -c "$(declare -f run); COMPAT=$COMPAT; run '$1' '$2' driftwing --timedemo '$SRC/tests/demos/dogfight.demo'" >/dev/null 2>&1
    tail -1 "$work/m"
}

labels=("SDL 1.2 build, classic SDL 1.2" "SDL 1.2 build on sdl12-compat" "SDL 2 build")
builds=("$B12" "$B12" "$B2")
preloads=(0 1 0)
declare -A game ref
passes=0
for demo in "$SRC"/tests/demos/*.demo; do
    name=$(basename "$demo" .demo)
    p=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$B12/driftwing" --timedemo "$demo" 2>/dev/null \
        | sed -nE 's/^passes ([0-9]+),.*/\1/p')
    passes=$((passes + p))
    for v in 0 1 2; do
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DRIFTWING_DRAWLOG="$work/$name.$v.log" \
            run "${builds[v]}" "${preloads[v]}" bench/driftwing_drawlog --nosound --timedemo "$demo" >/dev/null 2>&1
    done
    for _ in 1 2 3; do
        for v in 0 1 2; do
            echo "$(gameSeconds "${builds[v]}" "${preloads[v]}" "$demo")" >>"$work/game.$v.$name"
            echo "$(refSeconds "${builds[v]}" "${preloads[v]}" "$work/$name.$v.log")" >>"$work/ref.$v.$name"
        done
    done
    for v in 0 1 2; do
        game[$v]=$(awk -v a="${game[$v]:-0}" -v b="$(best <"$work/game.$v.$name")" 'BEGIN { print a + b }')
        ref[$v]=$(awk -v a="${ref[$v]:-0}" -v b="$(best <"$work/ref.$v.$name")" 'BEGIN { print a + b }')
    done
done

# Instructions per pass: the game's passes and the reference's frame loop
# over the same first passes of each demo, every count in a process of its
# own (all at once: a count does not depend on the machine's load).
counted=0
for demo in "$SRC"/tests/demos/*.demo; do
    name=$(basename "$demo" .demo)
    n=$("$B12/tools/demogen/democut" "$demo" "$COUNTED" "$work/$name.cut.demo")
    counted=$((counted + n))
    for v in 0 1 2; do
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DRIFTWING_DRAWLOG="$work/$name.$v.cut.log" \
            run "${builds[v]}" "${preloads[v]}" bench/driftwing_drawlog --nosound --timedemo "$work/$name.cut.demo" >/dev/null 2>&1
        pre=
        [ "${preloads[v]}" = 1 ] && pre=$COMPAT
        LD_PRELOAD=$pre SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy countIn 'runPass*' "${builds[v]}/driftwing" \
            --nosound --timedemo "$work/$name.cut.demo" >"$work/ir.game.$v.$name" &
        LD_PRELOAD=$pre SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy countIn 'replay*' "${builds[v]}/bench/drawref" \
            "$work/$name.$v.cut.log" >"$work/ir.ref.$v.$name" &
    done
done
wait
declare -A irGame irRef
for v in 0 1 2; do
    irGame[$v]=$(cat "$work"/ir.game.$v.* | awk '{ s += $1 } END { print s }')
    irRef[$v]=$(cat "$work"/ir.ref.$v.* | awk '{ s += $1 } END { print s }')
done

startX 1024x768x24
declare -A plain synced
for _ in 1 2; do
    for v in 0 1 2; do
        echo "$(live "${builds[v]}" "${preloads[v]}")" >>"$work/live.$v"
        echo "$(live "${builds[v]}" "${preloads[v]}" --vsync)" >>"$work/vsync.$v"
    done
done
for _ in 1 2 3 4 5; do
    for v in 0 1 2; do
        firstFrame "${builds[v]}" "${preloads[v]}" >>"$work/first.$v"
    done
done

echo "| build | timedemo passes/s | reference passes/s | ratio | instructions a pass, game | reference | ratio | live passes/s | live, --vsync | first frame s | peak RSS KB |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for v in 0 1 2; do
    t=$(awk -v p="$passes" -v g="${game[$v]}" -v r="${ref[$v]}" \
        'BEGIN { printf "%.0f | %.0f | %.3f", p / g, p / r, g / r }')
    i=$(awk -v n="$counted" -v g="${irGame[$v]}" -v r="${irRef[$v]}" \
        'BEGIN { printf "%.3f M | %.3f M | %.3f", g / n / 1e6, r / n / 1e6, g / r }')
    l=$(sort -g "$work/live.$v" | tail -1)
    s=$(sort -g "$work/vsync.$v" | tail -1)
    f=$(median <"$work/first.$v")
    m=$(rss "${builds[v]}" "${preloads[v]}")
    echo "| ${labels[v]} | $t | $i | $l | $s | $f | $m |"
done
