#!/usr/bin/env bash
# End-to-end: a game recorded with --record under a real X server, driven by
# real key events, then played back with --play (in X) and --timedemo (with
# SDL's dummy drivers): all three must end on the same summary line.
# Recording keeps the best score as a plain game does, and its demo carries
# the best it started with, so the playbacks (which never touch "high1") end
# on the same rules state.
#   demo.sh GAME ASSETGEN
source "$(dirname "$0")/common.sh"
begin demo "$1" "$2" 640x480x24

echo 777 >high1
launch rec --record game.demo
playing started || fail "--record: play never began"
checkLibrary "$gpid"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
scoreTo points 4 || fail "--record: the score never reached four digits"
for _ in 1 2 3 4 5 6 7 8; do xdotool key space; sleep 0.15; done
xdotool key p; sleep 0.4; xdotool key p
xdotool keydown Down; sleep 1.2; xdotool keyup Down
xdotool keydown Up; sleep 0.5; xdotool keyup Up
quits "--record"

recorded=$(grep '^passes ' rec.txt)
recScore=$(echo "$recorded" | sed -E 's/^passes [0-9]+, score ([0-9]+),.*/\1/')
[ "${recScore:-0}" -gt 777 ] && [ "$(cat high1)" = "$recScore" ] \
    && ok "--record saved its best ($recScore over 777)" || fail "high1 holds '$(cat high1)' after a recorded $recScore"
echo 5 >high1
played=$("$GAME" --play game.demo 2>/dev/null | grep '^passes ')
[ -n "$recorded" ] && [ "$played" = "$recorded" ] && ok "--play ends as recorded: $recorded" \
    || fail "--play: '$played', recorded '$recorded'"
timed=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$GAME" --timedemo game.demo 2>/dev/null | grep '^passes ')
[ "${timed%%, [0-9]*.[0-9]* s, *}" = "$recorded" ] && grep -Eq ', [0-9]+\.[0-9]+ s, [0-9]+\.[0-9] passes/s$' <<<"$timed" \
    && ok "--timedemo ends the same, with its figures: $timed" || fail "--timedemo: '$timed'"
[ "$(cat high1)" = "5" ] && ok "high1 untouched by --play and --timedemo" || fail "high1 changed"
finish "e2e demo"
