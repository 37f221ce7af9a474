#!/usr/bin/env bash
# End-to-end: the real game in a real X server, driven by real key events,
# judged from screenshots of what a player sees.
#   play.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
set -u
GAME=$(readlink -f "$1")
GEN=$(readlink -f "$2")
work=$(mktemp -d /tmp/driftwing-e2e-XXXXXX)
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

"$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }

# -noreset: the server must not restart when the probe below disconnects.
startX 640x480x24


cd "$work" || exit 1
"$GAME" >"$work/out.txt" 2>&1 &
gpid=$!

# The loading screen: title picture with the yellow LOADING text at (36, 36).
# It stays up for three seconds from the first frame; a busy machine may
# take a while to get there, so look a few times.
for try in 1 2 3 4 5 6 7 8; do
    sleep 0.5
    shot loading
    yellow=$(fraction loading 80x14+36+38 'r>0.7 && g>0.7 && b<0.35')
    above "$yellow" 0.08 && break
done
above "$yellow" 0.08 && ok "loading text shown ($yellow)" || fail "no LOADING text ($yellow)"

# Play: move right and fire a few shots.
sleep 3
xdotool keydown Right; sleep 0.6; xdotool keyup Right
for _ in 1 2 3 4 5; do xdotool key space; sleep 0.15; done
shot play
band=$(fraction play 640x400+0+60 'r+g+b>0.15')
above "$band" 0.5 && ok "play band drawn ($band)" || fail "play band mostly black ($band)"
hud=$(fraction play 200x20+0+460 'r>0.8 && g>0.8 && b>0.8')
above "$hud" 0.02 && ok "score line drawn ($hud)" || fail "no score line ($hud)"

# Pause: PAUSED in yellow at (400, 36) and the picture stands still.
xdotool key p
sleep 0.5
shot paused1
sleep 0.7
shot paused2
paused=$(fraction paused1 60x14+400+38 'r>0.7 && g>0.7 && b<0.35')
above "$paused" 0.05 && ok "PAUSED shown ($paused)" || fail "no PAUSED ($paused)"
moved=$(compare -metric AE "$work/paused1.png" "$work/paused2.png" null: 2>&1)
[ "${moved%%.*}" -lt 4000 ] 2>/dev/null && ok "paused picture still ($moved px differ)" \
    || fail "paused picture moves ($moved px differ)"
xdotool key p
sleep 0.3
shot resumed

# Fly into the lower edge until the last life is gone: the game-over picture
# must stand at (192, 200), its green key transparent. ENTER plays again.
gsize=$(identify -format '%wx%h' "$work/data/gameover.bmp")
matches() {
    convert "$work/$1.png" -crop "$gsize+192+200" +repage "$work/data/gameover.bmp" \
        -fx '(v.r<0.01 && v.g>0.99 && v.b<0.01) ? 1 : (abs(u.r-v.r)<0.03 && abs(u.g-v.g)<0.03 && abs(u.b-v.b)<0.03)' \
        -format '%[fx:mean]' info:
}
xdotool keydown Down; sleep 9; xdotool keyup Down
sleep 0.3
shot gameover
over=$(matches gameover)
above "$over" 0.97 && ok "game-over picture shown ($over)" || fail "no game-over picture ($over)"
xdotool key Return
sleep 0.5
shot restarted
again=$(matches restarted)
above 0.97 "$again" && ok "ENTER starts a new game ($again)" || fail "still game over after ENTER ($again)"

# ESC ends the game with status 0 after the sound fades.
xdotool key Escape
for _ in $(seq 60); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$gpid" 2>/dev/null; then
    fail "game still running after ESC"
else
    wait "$gpid"; status=$?
    gpid=
    [ "$status" -eq 0 ] && ok "ESC quits with status 0" || fail "exit status $status"
fi
grep -q "Could not load" "$work/out.txt" && fail "assets missing"

if [ "$failures" -eq 0 ]; then echo "e2e: all checks passed"; exit 0; fi
echo "e2e: $failures check(s) failed; the game said:"
grep -v '^ALSA lib' "$work/out.txt"
exit 1
