#!/usr/bin/env bash
# End-to-end: the demo modes end when asked, however long the demo still
# runs. --play of a demo with a minute-long recorded gap ends on ESC, SIGTERM,
# SIGINT and SIGHUP well before the gap is over; --timedemo of a million
# passes ends on SIGHUP. Each prints its summary and exits with 0.
# --record keeps a demo that plays when two quit signals end it at once, and
# when it is written to standard output; a file-size limit ends it with one
# line, status 1 and no temporary file left.
#   demostop.sh GAME ASSETGEN
source "$(dirname "$0")/common.sh"
begin demostop "$1" "$2" 640x480x24

# Format version 2: magic, version, game version "1.0", seed, fingerprint,
# entry tick 0, best 0; then the passes and the end marker with their count.
header() { printf 'DWDEMO\r\n\002\000\0031.0\001\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'; }
# A pass 10 ms in, then one 60 s later (delta 60000 as a varint).
{ header; printf '\012\017\340\324\003\200\002\000\000\000'; } >gap.demo
# A million passes of 1 ms.
{ header; head -c 1000000 /dev/zero | tr '\0' '\001'; printf '\200\100\102\017\000'; } >long.demo

# Waits for game $2 to end, well within the 60 s gap, then judges it by its
# status and its summary in $3.
judge() {
    local start=$SECONDS
    if ! ends "$2" 30; then fail "$1: still running 30 s after being asked to end"; return; fi
    [ "$status" -eq 0 ] && grep -q '^passes ' "$3" && ok "$1: ended within $((SECONDS - start)) s" \
        || fail "$1: status $status, said: $(grep -v '^ALSA' "$3" | head -3)"
}
# Waits until the game writing to $1 has begun to play: the demo's data
# warning comes just before its first pass, 10 ms before the gap.
begun() { waitUntil 60 grep -q 'playing anyway' "$1"; sleep 0.5; }

# ESC through the real keyboard, alone on the display.
launch esc --play gap.demo
begun esc.txt
xdotool key Escape
judge "--play, ESC in a recorded gap" "$gpid" esc.txt

# The signals, all at once, to games in windows: full-screen games on one
# display would wait for each other's input grab instead of playing. A
# background job of a script starts with SIGINT ignored (and the game keeps
# an ignored signal so): here it is not.
declare -A pidOf
for sig in TERM INT HUP; do
    env --default-signal=INT "$GAME" --window --play gap.demo >"play-$sig.txt" 2>&1 &
    pidOf[$sig]=$!
done
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy launch timed --timedemo long.demo
for out in play-TERM.txt play-INT.txt play-HUP.txt timed.txt; do begun "$out"; done
for sig in TERM INT HUP; do kill -"$sig" "${pidOf[$sig]}"; done
kill -HUP "$gpid"
for sig in TERM INT HUP; do judge "--play, SIG$sig in a recorded gap" "${pidOf[$sig]}" "play-$sig.txt"; done
# (Played to its end, a million passes take minutes, past the judge's wait.)
judge "--timedemo, SIGHUP" "$gpid" timed.txt

# ---- recording, on the dummy drivers ----
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# recording NAME: the temporary file of a recording into NAME holds passes,
# not only the demo's header (over a kilobyte: a pass takes a few bytes).
# A recording ended before its first pass keeps no demo, by design, and the
# header is written a moment before the first pass.
recording() { [ -n "$(find . -maxdepth 1 -name "$1.??????" -size +1k)" ]; }
leftovers() { find . -maxdepth 1 -name "$1.??????" | wc -l; }
plays() { "$GAME" --timedemo "$1" >/dev/null 2>&1; }

# Two quit signals at once: the game ends by the second (which of the two
# is taken first is the system's choice), or had just ended by itself; the
# demo is kept either way.
launch twice --nosound --record twice.demo
waitUntil 60 recording twice.demo || fail "two signals: the recording never began"
kill -TERM "$gpid"; kill -HUP "$gpid"
ends "$gpid" 120 2>/dev/null || status=none
case ${status:-} in 0|129|143) ;; *) fail "two signals: status ${status:-none}" ;; esac
plays twice.demo && ok "two signals (status $status): the demo plays" || fail "two signals: no demo that plays"
[ "$(leftovers twice.demo)" -eq 0 ] || fail "two signals: a temporary file is left"

# To standard output through a pipe: the demo alone goes there.
"$GAME" --nosound --record /dev/stdout > >(cat >piped.demo) 2>piped.txt &
gpid=$!
waitUntil 60 test -s piped.demo
kill -TERM "$gpid"; ends "$gpid"
waitUntil 10 plays piped.demo
[ "$status" -eq 0 ] && plays piped.demo && grep -q '^passes ' piped.txt \
    && ok "--record /dev/stdout: a demo that plays, the summary on standard error" \
    || fail "--record /dev/stdout: status $status, the demo $(plays piped.demo && echo plays || echo "does not play")"

# A file-size limit: the recording fails at its first write.
bash -c 'ulimit -f 0; exec "$0" --nosound --record limited.demo' "$GAME" >limited.out 2> >(cat >limited.txt)
status=$?
line="driftwing: demo '$work/limited.demo': could not be written (File too large)"
waitUntil 10 eval '[ "$(cat limited.txt)" = "$line" ]'
[ "$status" -eq 1 ] && [ "$(cat limited.txt)" = "$line" ] && ok "a file-size limit: one line, status 1" \
    || fail "a file-size limit: status $status"
[ "$(leftovers limited.demo)" -eq 0 ] && [ ! -e limited.demo ] || fail "a file-size limit: files left behind"
finish "e2e demostop"
