#!/usr/bin/env bash
# End-to-end on Wayland: the game on SDL 2's own Wayland driver, in a weston
# compositor: a build on SDL 2 directly, a build on SDL 1.2 through the
# SDL 2 based SDL 1.2 library. Weston runs nested in
# Xvfb (its X11 backend): its headless backend offers no seat, and SDL 2
# (2.26) dies starting its video on a compositor without one. The nested
# compositor has X's keyboard, so keys typed with xdotool into its window
# reach the game. Skipped (status 77) where weston or that library is
# missing.
#   wayland.sh GAME ASSETGEN DEMO_DIR     (E2E_SHOTS=dir keeps the screenshots)
set -u
GAME=$(readlink -f "$1")
# Under the sanitizer build: the Wayland stack (SDL 2's driver, D-Bus, the
# window decorations) keeps allocations of its own until exit, outside the
# game's code, whose leaks every other test checks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
GEN=$(readlink -f "$2")
DEMOS=$(readlink -f "$3")
arch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
COMPAT=/usr/lib/$arch/sdl12-compat
if ! command -v weston >/dev/null; then
    echo "e2e wayland: skipped, weston is not installed (apt-get install weston)"; exit 77
fi
source "$(dirname "$0")/common.sh"
if ! builtOnSdl2 "$GAME" && [ ! -e "$COMPAT/libSDL-1.2.so.0" ]; then
    echo "e2e wayland: skipped, no SDL 2 based SDL 1.2 library in $COMPAT"; exit 77
fi
work=$(mktemp -d /tmp/driftwing-wayland-XXXXXX)
wpid=
stopAll() {
    stopGame ${gpid:-}
    gpid=
    [ -n "$wpid" ] && kill "$wpid" 2>/dev/null && wait "$wpid" 2>/dev/null
    cleanup
}
trap stopAll EXIT

"$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }
startX 1024x768x24

# Weston's own runtime folder, private as the protocol asks.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket=driftwing \
    --idle-time=0 --no-config >"$work/weston.txt" 2>&1 &
wpid=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/driftwing" ] && break; sleep 0.1; done
if [ ! -S "$XDG_RUNTIME_DIR/driftwing" ]; then
    echo "FAIL: weston did not start:"; cat "$work/weston.txt"; exit 1
fi
export WAYLAND_DISPLAY=driftwing LD_LIBRARY_PATH=$COMPAT${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
export SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy
cd "$work" || exit 1

# A golden demo played back through the compositor ends exactly as kept.
want=$(sed -n 's/^summary //p' "$DEMOS/rammer.expected")
got=$("$GAME" --window --play "$DEMOS/rammer.demo" 2>"$work/demo-err.txt" | grep '^passes ')
[ -n "$want" ] && [ "$got" = "$want" ] && ok "demo on Wayland ends as kept" \
    || fail "demo on Wayland: '$got', kept '$want' ($(grep -v plugin "$work/demo-err.txt"))"

# Play: the window shows the game inside weston's, P pauses, ESC quits.
"$GAME" --window --nosound >"$work/out.txt" 2>&1 &
gpid=$!
# The compositor's window on the X screen, where weston shows what it composes.
band=$(waitFor play 800x600+0+0 'r+g+b>0.15' 0.3 20)
checkLibrary "$gpid"
grep -q 'libwayland-client' "/proc/$gpid/maps" 2>/dev/null && ok "the game talks Wayland" \
    || fail "no Wayland client library in the game"
above "${band% *}" 0.3 && ok "game drawn in the compositor (${band% *})" || fail "nothing drawn ($band)"
xdotool search --name '^Weston Compositor' 2>/dev/null | head -1 | xargs -r xdotool windowfocus --sync 2>/dev/null
sleep 1
# PAUSED adds yellow to the yellow of the credit line.
yellow='r>0.7 && g>0.7 && b<0.35'
shot running
before=$(fraction running 800x600+0+0 "$yellow")
xdotool key p
more=$(awk -v b="$before" 'BEGIN { print b + 0.0003 }')
paused=$(waitFor paused 800x600+0+0 "$yellow" "$more" 15)
above "${paused% *}" "$more" && ok "P pauses (yellow ${before} -> ${paused% *})" \
    || fail "no PAUSED after P (yellow ${before} -> $paused)"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$gpid" 2>/dev/null; then
    fail "game still running after ESC"
else
    wait "$gpid"; status=$?
    gpid=
    [ "$status" -eq 0 ] && ok "ESC quits with status 0" || fail "exit status $status"
fi
grep -q "Could not load" "$work/out.txt" && fail "assets missing"

if [ "$failures" -eq 0 ]; then echo "e2e wayland: all checks passed"; exit 0; fi
echo "e2e wayland: $failures check(s) failed; the game said:"
grep -v plugin "$work/out.txt"
exit 1
