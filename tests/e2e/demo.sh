#!/usr/bin/env bash
# End-to-end: a game recorded with --record under a real X server, driven by
# real key events, then played back with --play (in X) and --timedemo (with
# SDL's dummy drivers): all three must end on the same summary line.
# Recording keeps the best score as a plain game does, and its demo carries
# the best it started with, so the playbacks (which never touch "high1") end
# on the same rules state.
#   demo.sh GAME ASSETGEN
set -u
GAME=$(readlink -f "$1")
GEN=$(readlink -f "$2")
work=$(mktemp -d /tmp/driftwing-demo-XXXXXX)
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

"$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }
startX 640x480x24

cd "$work" || exit 1
echo 777 > high1
"$GAME" --record game.demo >rec.txt 2>&1 &
gpid=$!
sleep 4
checkLibrary "$gpid"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
xdotool keydown s; sleep 0.2; xdotool keyup s
for _ in 1 2 3 4 5 6 7 8; do xdotool key space; sleep 0.15; done
xdotool key p; sleep 0.4; xdotool key p
xdotool keydown Down; sleep 1.2; xdotool keyup Down
xdotool keydown Up; sleep 0.5; xdotool keyup Up
xdotool key Escape
for _ in $(seq 60); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
wait "$gpid"; status=$?; gpid=
[ "$status" -eq 0 ] && ok "--record quits with status 0" || fail "--record status $status"
recorded=$(grep '^passes ' rec.txt)
[ -n "$recorded" ] && ok "recorded: $recorded" || fail "no summary from --record"
size=$(stat -c %s game.demo 2>/dev/null || echo 0)
[ "$size" -gt 30 ] && ok "demo written ($size bytes)" || fail "demo file missing or empty"
# Real play with the sprites animating keeps within 128 KB a minute at 600
# passes a second: 131072 bytes for 36000 passes.
passes=$(echo "$recorded" | sed -E 's/^passes ([0-9]+),.*/\1/')
[ "$((size * 36000))" -le "$((${passes:-0} * 131072))" ] \
    && ok "within the size budget ($size bytes for $passes passes)" || fail "over the size budget"

recScore=$(echo "$recorded" | sed -E 's/^passes [0-9]+, score ([0-9]+),.*/\1/')
[ "${recScore:-0}" -gt 777 ] && [ "$(cat high1)" = "$recScore" ] \
    && ok "--record saved its best ($recScore over 777)" || fail "high1 holds '$(cat high1)' after a recorded $recScore"
echo 5 > high1
played=$("$GAME" --play game.demo 2>/dev/null | grep '^passes ')
[ "$played" = "$recorded" ] && ok "--play ends the same" || fail "--play: '$played'"
timed=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$GAME" --timedemo game.demo 2>/dev/null | grep '^passes ')
[ "${timed%%, [0-9]*.[0-9]* s, *}" = "$recorded" ] && ok "--timedemo ends the same: $timed" \
    || fail "--timedemo: '$timed'"
echo "$timed" | grep -Eq ', [0-9]+\.[0-9]+ s, [0-9]+\.[0-9] passes/s$' \
    && ok "--timedemo gives its figures" || fail "--timedemo figures missing"
[ "$(cat high1)" = "5" ] && ok "high1 untouched by --play and --timedemo" || fail "high1 changed"

if [ "$failures" -eq 0 ]; then echo "e2e demo: all checks passed"; exit 0; fi
echo "e2e demo: $failures check(s) failed; the recording game said:"
grep -v '^ALSA lib' rec.txt
exit 1
