#!/usr/bin/env bash
# End-to-end: the demo modes end when asked, however long the demo still
# runs. --play of a demo with a minute-long recorded gap ends on ESC, SIGTERM,
# SIGINT and SIGHUP within seconds, not when the gap is over; --timedemo of a
# million passes ends on SIGHUP. Each prints its summary and exits with 0.
#   demostop.sh GAME ASSETGEN
set -u
GAME=$(readlink -f "$1")
GEN=$(readlink -f "$2")
work=$(mktemp -d /tmp/driftwing-demostop-XXXXXX)
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

"$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }
startX 640x480x24
cd "$work" || exit 1

# Format version 2: magic, version, game version "1.0", seed, fingerprint,
# entry tick 0, best 0; then the passes and the end marker with their count.
header() { printf 'DWDEMO\r\n\002\000\0031.0\001\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'; }
# A pass 10 ms in, then one 60 s later (delta 60000 as a varint).
{ header; printf '\012\017\340\324\003\200\002\000\000\000'; } >gap.demo
# A million passes of 1 ms.
{ header; head -c 1000000 /dev/zero | tr '\0' '\001'; printf '\200\100\102\017\000'; } >long.demo

# Waits up to 10 s (the gap is 60 s) for game $2 to end, then judges it by
# its status and its summary in $3.
judge() {
    local name=$1 pid=$2 out=$3 t status
    for t in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null; fail "$name: still running 10 s after being asked to end"; return
    fi
    wait "$pid"; status=$?
    [ "$status" -eq 0 ] && grep -q '^passes ' "$out" && ok "$name: ended within $t tenths of a second" \
        || fail "$name: status $status, said: $(grep -v '^ALSA' "$out" | head -3)"
}

# Waits until the game writing to $1 has begun to play: the demo's data
# warning comes just before its first pass.
playing() {
    for _ in $(seq 150); do grep -q 'playing anyway' "$1" 2>/dev/null && break; sleep 0.1; done
    sleep 0.5
}

# ESC through the real keyboard, alone on the display.
"$GAME" --play gap.demo >esc.txt 2>&1 &
gpid=$!
playing esc.txt
xdotool key Escape
judge "--play, ESC in a recorded gap" "$gpid" esc.txt
gpid=

# The signals, all at once. A background job of a script starts with SIGINT
# ignored (and the game keeps an ignored signal so): here it is not.
pids=()
for sig in TERM INT HUP; do
    env --default-signal=INT "$GAME" --play gap.demo >"play-$sig.txt" 2>&1 &
    pids+=("$!")
done
for out in play-TERM.txt play-INT.txt play-HUP.txt; do playing "$out"; done
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$GAME" --timedemo long.demo >timed.txt 2>&1 &
timed=$!
playing timed.txt
i=0
for sig in TERM INT HUP; do kill -"$sig" "${pids[$i]}"; i=$((i + 1)); done
kill -HUP "$timed"
i=0
for sig in TERM INT HUP; do judge "--play, SIG$sig in a recorded gap" "${pids[$i]}" "play-$sig.txt"; i=$((i + 1)); done
judge "--timedemo, SIGHUP" "$timed" timed.txt
passes=$(sed -nE 's/^passes ([0-9]+),.*/\1/p' timed.txt)
[ "${passes:-1000000}" -lt 1000000 ] && ok "--timedemo stopped at pass $passes" \
    || fail "--timedemo played to its end"

if [ "$failures" -eq 0 ]; then echo "e2e demostop: all checks passed"; exit 0; fi
echo "e2e demostop: $failures check(s) failed"
exit 1
