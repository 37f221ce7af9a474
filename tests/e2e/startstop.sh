#!/usr/bin/env bash
# End-to-end: starting and stopping on a 1024 x 768 desktop in a real X server.
# A scale that does not fit (a 1280 x 960 window, a 1920 x 1440 full screen)
# becomes the largest that does, said in one line, and the whole picture is
# on the screen, also after F11. A second full-screen game, stuck waiting for
# the input grab that the first one holds, ends at once at a second quit
# signal.
#   startstop.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
set -u
GAME=$(readlink -f "$1")
GEN=$(readlink -f "$2")
work=$(mktemp -d /tmp/driftwing-startstop-XXXXXX)
source "$(dirname "$0")/common.sh"
stuck=()
trap 'for p in "${stuck[@]}"; do kill -9 "$p" 2>/dev/null; done; cleanup' EXIT

"$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }
startX 1024x768x24
windowManagerFor "$GAME"
cd "$work" || exit 1
export SDL_AUDIODRIVER=dummy

alive() { kill -0 "$1" 2>/dev/null; }
# Waits up to $2 seconds for process $1 to end; sets status.
ends() {
    local tenths=$(( $2 * 10 ))
    for _ in $(seq "$tenths"); do alive "$1" || break; sleep 0.1; done
    if alive "$1"; then return 1; fi
    wait "$1"; status=$?
    return 0
}

# The picture of a scale-1 game whose top-left corner is at ($2, $3) of the
# screenshot $1 is whole on the screen: the white score text at the left of
# its bottom line and the yellow credit line at the right of it.
wholePicture() {
    local white yellow
    white=$(fraction "$1" 200x20+"$2"+"$(( $3 + 460 ))" 'r>0.8 && g>0.8 && b>0.8')
    yellow=$(fraction "$1" 130x20+"$(( $2 + 460 ))"+"$(( $3 + 460 ))" 'r>0.7 && g>0.7 && b<0.35')
    above "$white" 0.02 && above "$yellow" 0.05
}

# Takes screenshot $1 until the picture at ($2, $3) is whole, for up to 20
# seconds: the loading screen shows no bottom line, and a busy machine may
# still show it.
shotWhole() {
    for _ in $(seq 40); do
        shot "$1"
        wholePicture "$1" "$2" "$3" && return 0
        sleep 0.5
    done
    return 1
}

# ---- a window too large for the desktop, then F11 ----
"$GAME" --window --scale 2 --nosound >"$work/window.out" 2>"$work/window.err" &
gpid=$!
sleep 4.5
win=$(xdotool search --name '^Driftwing$' 2>/dev/null | head -1)
read -r x y size < <(xwininfo -id "${win:-0}" 2>/dev/null | awk '/Absolute upper-left X:/ { x = $4 }
    /Absolute upper-left Y:/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w "x" h }')
[ "$size" = "640x480" ] && ok "--window --scale 2: a 640x480 window" || fail "--window --scale 2: window is $size"
shotWhole window "${x:-0}" "${y:-0}" && ok "the whole picture is in the window at $x,$y" \
    || fail "picture cut in the window at $x,$y"
xdotool windowfocus --sync "${win:-0}" 2>/dev/null
xdotool key F11
shotWhole windowF11 192 144 && ok "F11: the whole picture, centred on the screen" \
    || fail "F11: the picture is not whole on the screen"
xdotool key Escape
if ends "$gpid" 5; then
    [ "$status" -eq 0 ] && ok "ESC quits with status 0" || fail "exit status $status"
else
    fail "still running after ESC"
fi
gpid=
said=$(cat "$work/window.err")
[ "$said" = "driftwing: --scale 2 (1280x960) does not fit the 1024x768 desktop; using --scale 1" ] \
    && ok "said in one line" || fail "said: '$said'"

# ---- a full screen larger than every mode ----
"$GAME" --fullscreen --scale 3 --nosound >"$work/full.out" 2>"$work/full.err" &
gpid=$!
sleep 4.5
if alive "$gpid"; then
    ok "--fullscreen --scale 3 plays"
    shotWhole full 192 144 && ok "the whole picture, centred" || fail "picture not whole in full screen"
    xdotool key Escape
    ends "$gpid" 5 && [ "$status" -eq 0 ] || fail "full screen: no clean exit after ESC"
else
    wait "$gpid"
    fail "--fullscreen --scale 3 ended with status $?: $(cat "$work/full.out")"
fi
gpid=
said=$(cat "$work/full.err")
[ "$said" = "driftwing: --scale 3 (1920x1440) does not fit the 1024x768 screen; using --scale 1" ] \
    && ok "said in one line" || fail "said: '$said'"

# ---- a second full-screen game while the first holds the input grab ----
# Classic SDL 1.2 waits for the grab inside the library; SDL 2, beneath
# sdl12-compat or as the game's own library, does not, and its second game
# simply plays.
if builtOnSdl2 "$GAME"; then lib='libSDL2-2'; else lib='libSDL-1\.2'; fi
sdl=$(readlink -f "$(ldd "$GAME" | awk -v lib="$lib" '$0 ~ lib { print $3; exit }')")
case $sdl in *libSDL-1.2.so.0.11*) waitsForGrab=1 ;; *) waitsForGrab=0 ;; esac
"$GAME" --nosound >"$work/first.txt" 2>&1 &
first=$!
stuck+=("$first")
# The first game holds the grab from its full-screen mode on.
for _ in $(seq 100); do xdotool search --name '^Driftwing$' >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
# Stopped twice in turn: with SIGTERM, then (its default restored, as a
# background job starts with it ignored) with SIGINT.
for sig in TERM INT; do
    env --default-signal=INT "$GAME" --nosound >"$work/second-$sig.txt" 2>&1 &
    second=$!
    stuck+=("$second")
    # Long past a loading screen: a game that is not stuck plays by now.
    sleep 6
    if ! alive "$second"; then
        fail "SIG$sig: the second game ended by itself: $(cat "$work/second-$sig.txt")"
        continue
    fi
    kill -"$sig" "$second"
    sleep 1.5
    if [ "$waitsForGrab" -eq 0 ]; then
        ends "$second" 2 && [ "$status" -eq 0 ] && ok "SIG$sig: not stuck on $sdl; the first signal ends it" \
            || fail "SIG$sig: a second game that is not stuck did not end at the first signal"
        continue
    fi
    alive "$second" && ok "SIG$sig: the stuck game does not quit at the first signal" \
        || fail "SIG$sig: the second game ended at the first signal (was it stuck at all?)"
    kill -"$sig" "$second"
    if ends "$second" 1; then
        want=$(( 128 + $(kill -l "$sig") ))
        [ "$status" -eq "$want" ] && ok "SIG$sig: the second signal ends it at once" \
            || fail "SIG$sig: ended with status $status, not $want"
    else
        fail "SIG$sig: still running a second after the second signal"
    fi
done
[ -e "$work/high1" ] && fail "high1 written by a game that scored nothing"
kill -TERM "$first"
if ends "$first" 3; then
    [ "$status" -eq 0 ] && ok "one quit signal ends a game in play with status 0" \
        || fail "first game: exit status $status"
else
    fail "first game still running after SIGTERM"
fi

if [ "$failures" -eq 0 ]; then echo "e2e startstop: all checks passed"; exit 0; fi
echo "e2e startstop: $failures check(s) failed"
for f in window.err full.out full.err first.txt second-TERM.txt second-INT.txt; do
    [ -s "$work/$f" ] && { echo "--- $f"; head -20 "$work/$f"; }
done
exit 1
