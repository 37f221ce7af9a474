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

# Play, once the score line is up. (Steering and firing by real keys are
# demo.sh's, which replays them; the play band and the pause's PAUSED and
# still picture are window.sh's and fullscreen.sh's.)
playing started || fail "play never began"

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
