#!/usr/bin/env bash
# End-to-end: the real game in a real X server, driven by real key events,
# judged from screenshots of what a player sees.
#   play.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
source "$(dirname "$0")/common.sh"
begin e2e "$1" "$2" 640x480x24

launch out

# The loading screen: title picture with the yellow LOADING text at (36, 36).
loading=$(waitFor loading 80x14+36+38 "$yellow" 0.08 60)
checkLibrary "$gpid"
above "${loading% *}" 0.08 && ok "loading text shown after ${loading#* } ms (${loading% *})" \
    || fail "no LOADING text ($loading)"

# Play, once the score line is up: move right and fire a few shots.
playing started || fail "play never began"
xdotool keydown Right; sleep 0.6; xdotool keyup Right
for _ in 1 2 3 4 5; do xdotool key space; sleep 0.15; done
shot play
band=$(fraction play 640x400+0+60 lit)
above "$band" 0.5 && ok "play band drawn ($band)" || fail "play band mostly black ($band)"

# Pause: PAUSED in yellow at (400, 36), and the picture stands still.
xdotool key p
paused=$(waitFor paused1 60x14+400+38 "$yellow" 0.05 30)
above "${paused% *}" 0.05 && ok "PAUSED shown (${paused% *})" || fail "no PAUSED ($paused)"
sleep 0.7
shot paused2
moved=$(compare -metric AE paused1.png paused2.png null: 2>&1)
[ "${moved%%.*}" -lt 4000 ] 2>/dev/null && ok "paused picture still ($moved px differ)" \
    || fail "paused picture moves ($moved px differ)"
xdotool key p

# Fly into the lower edge until the last life is gone: the game-over picture
# must stand at (192, 200), its green key transparent. ENTER plays again.
gsize=$(identify -format '%wx%h' data/gameover.bmp)
over() {
    shot "$1"
    above "$(convert "$1.png" -crop "$gsize+192+200" +repage data/gameover.bmp \
        -fx '(v.r<0.01 && v.g>0.99 && v.b<0.01) ? 1 : (abs(u.r-v.r)<0.03 && abs(u.g-v.g)<0.03 && abs(u.b-v.b)<0.03)' \
        -format '%[fx:mean]' info:)" 0.97
}
xdotool keydown Down
waitUntil 120 over gameover && ok "game-over picture shown" || fail "no game-over picture"
xdotool keyup Down
xdotool key Return
waitUntil 30 eval '! over restarted' && ok "ENTER starts a new game" || fail "still game over after ENTER"

quits "play"
finish "e2e"
