#!/usr/bin/env bash
# End-to-end: starting and stopping on a 1366 x 768 desktop in a real X server.
# A scale that does not fit (a 1280 x 960 window or full screen) becomes the
# largest that does, measured against the desktop's own size and said in one
# line, and the whole picture is on the screen, also after F11. A second
# full-screen game, stuck waiting for the input grab that the first one
# holds, ends at once at a second quit signal. A game whose X server goes
# away ends with status 1, one line and the run's best saved.
#   startstop.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
source "$(dirname "$0")/common.sh"
begin startstop "$1" "$2" 1366x768x24
windowManagerFor "$GAME"
export SDL_AUDIODRIVER=dummy

# whole SHOT X Y: a shot in which the picture of a scale-1 game whose corner
# is at (X, Y) is whole: the white score text at the left of its bottom line
# and the yellow credit line at the right of it (the loading screen shows
# neither).
whole() {
    shot "$1"
    above "$(fraction "$1" 200x20+"$2"+"$(( $3 + 460 ))" "$white")" 0.02 &&
        above "$(fraction "$1" 130x20+"$(( $2 + 460 ))"+"$(( $3 + 460 ))" "$yellow")" 0.05
}
# The only line the game said of its own (library noise aside).
said() { [ "$(grep '^driftwing:' "$1")" = "$2" ] && ok "said in one line" || fail "said: '$(grep '^driftwing:' "$1")'"; }

# ---- a window too large for the desktop, then F11 ----
launch window --window --scale 2 --nosound
wx=0 wy=0 ww=0 wh=0
placed() { window && where "$win" && whole window "$wx" "$wy"; }
waitUntil 90 placed && ok "the whole picture is in the window at $wx,$wy" || fail "picture cut in the window at $wx,$wy"
[ "${ww}x$wh" = "640x480" ] && ok "--window --scale 2: a 640x480 window" || fail "--window --scale 2: window is ${ww}x$wh"
xdotool windowfocus --sync "${win:-0}" 2>/dev/null
xdotool key F11
waitUntil 60 whole windowF11 363 144 && ok "F11: the whole picture, centred on the screen" \
    || fail "F11: the picture is not whole on the screen"
quits "--window --scale 2"
said window.txt "driftwing: --scale 2 (1280x960) does not fit the 1366x768 desktop; using --scale 1"

# ---- a full screen larger than the desktop ----
# (the SDL 2 based SDL 1.2 library lists 1280 x 1024 among its modes here)
launch full --fullscreen --scale 2 --nosound
waitUntil 90 whole full 363 144 && ok "--fullscreen --scale 2: the whole picture, centred" \
    || fail "--fullscreen --scale 2: picture not whole$(gone "$gpid" && echo ", the game ended")"
quits "--fullscreen --scale 2"
said full.txt "driftwing: --scale 2 (1280x960) does not fit the 1366x768 screen; using --scale 1"

# ---- a second full-screen game while the first holds the input grab ----
# Classic SDL 1.2 waits for the grab inside the library; SDL 2, beneath
# sdl12-compat or as the game's own library, does not, and its second game
# simply plays (and ends at one signal, as the first one does below).
if builtOnSdl2 "$GAME"; then lib='libSDL2-2'; else lib='libSDL-1\.2'; fi
sdl=$(readlink -f "$(ldd "$GAME" | awk -v lib="$lib" '$0 ~ lib { print $3; exit }')")
case $sdl in *libSDL-1.2.so.0.11*) waitsForGrab=1 ;; *) waitsForGrab=0 ;; esac
launch first --nosound
first=$gpid
# The first game holds the grab from its full-screen mode on: surely once it plays.
waitUntil 90 whole first 363 144 || fail "the first full-screen game never played"
# The second game's window has its title before the mode is set, where the
# game waits for the grab, and after the quit signals are taken.
twoWindows() { [ "$(xdotool search --name '^Driftwing$' 2>/dev/null | wc -l)" -ge 2 ]; }
# Stopped twice in turn: with SIGTERM, then (its default restored, as a
# background job starts with it ignored) with SIGINT.
for sig in TERM INT; do
    [ "$waitsForGrab" -eq 1 ] || { ok "not stuck on $sdl"; break; }
    waitUntil 30 eval '! twoWindows'
    env --default-signal=INT "$GAME" --nosound >"second-$sig.txt" 2>&1 &
    second=$!
    waitUntil 90 twoWindows || fail "SIG$sig: no window for the second game"
    kill -"$sig" "$second"
    # The fault, quitting at the first signal, would show at once.
    sleep 1.5
    alive "$second" && ok "SIG$sig: the stuck game does not quit at the first signal" \
        || fail "SIG$sig: the second game ended at the first signal (was it stuck at all?)"
    kill -"$sig" "$second"
    want=$(( 128 + $(kill -l "$sig") ))
    ends "$second" 30 && [ "$status" -eq "$want" ] && ok "SIG$sig: the second signal ends it" \
        || fail "SIG$sig: after the second signal: $(alive "$second" && echo still running || echo "status $status, not $want")"
done
[ -e high1 ] && fail "high1 written by a game that scored nothing"
kill -TERM "$first"
ends "$first" && [ "$status" -eq 0 ] && ok "one quit signal ends a game in play with status 0" \
    || fail "first game: still running or exit status ${status:-}"

# ---- the X server taken away under a game with a new best ----
kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null
startX 640x480x24
printf 100 >high1
launch lost --nosound
playing lost && scoreTo lost 4 || fail "display lost: the game never played and scored"
kill -9 "$xpid"; wait "$xpid" 2>/dev/null
if ends "$gpid" 30; then
    [ "$status" -eq 1 ] && ok "display lost: the game ends with status 1" || fail "display lost: status $status"
    [ "$(cat lost.txt)" = "driftwing: the connection to the display was lost; the game ends" ] \
        && ok "display lost: said in one line" || fail "display lost: said '$(cat lost.txt)'"
    best=$(cat high1)
    [ "$best" -gt 100 ] 2>/dev/null && ok "display lost: the best ($best) is saved" \
        || fail "display lost: high1 holds '$best'"
else
    fail "display lost: still running 30 s after the X server went away"
fi
gpid=
finish "e2e startstop"
