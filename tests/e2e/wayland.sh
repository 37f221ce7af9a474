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
source "$(dirname "$0")/common.sh"
# Under the sanitizer build: the Wayland stack (SDL 2's driver, D-Bus, the
# window decorations) keeps allocations of its own until exit, outside the
# game's code, whose leaks every other test checks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
DEMOS=$(readlink -f "$3")
COMPAT=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/sdl12-compat
if ! command -v weston >/dev/null; then
    echo "e2e wayland: skipped, weston is not installed (apt-get install weston)"; exit 77
fi
if ! builtOnSdl2 "$1" && [ ! -e "$COMPAT/libSDL-1.2.so.0" ]; then
    echo "e2e wayland: skipped, no SDL 2 based SDL 1.2 library in $COMPAT"; exit 77
fi
begin wayland "$1" "$2" 1024x768x24

# Weston's own runtime folder, private as the protocol asks.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket=driftwing \
    --idle-time=0 --no-config >weston.log 2>&1 &
waitUntil 60 test -S "$XDG_RUNTIME_DIR/driftwing" || { echo "FAIL: weston did not start:"; cat weston.log; exit 1; }
export WAYLAND_DISPLAY=driftwing LD_LIBRARY_PATH=$COMPAT${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
export SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy

# A golden demo played back through the compositor ends exactly as kept.
want=$(sed -n 's/^summary //p' "$DEMOS/rammer.expected")
got=$("$GAME" --window --play "$DEMOS/rammer.demo" 2>demo-err.log | grep '^passes ')
[ -n "$want" ] && [ "$got" = "$want" ] && ok "demo on Wayland ends as kept" \
    || fail "demo on Wayland: '$got', kept '$want' ($(grep -v plugin demo-err.log))"

# Play: the window shows the game inside weston's, P pauses, ESC quits.
launch out --window --nosound
# The compositor's window on the X screen, where weston shows what it composes.
drawn() { shot play && above "$(fraction play 800x600+0+0 lit)" 0.3; }
waitUntil 60 drawn && ok "game drawn in the compositor" || fail "nothing drawn"
checkLibrary "$gpid"
grep -q 'libwayland-client' "/proc/$gpid/maps" 2>/dev/null && ok "the game talks Wayland" \
    || fail "no Wayland client library in the game"
xdotool search --name '^Weston Compositor' 2>/dev/null | head -1 | xargs -r xdotool windowfocus --sync 2>/dev/null
# Past the loading screen (with yellow of its own) before the yellow is counted.
moving 60 || fail "the picture in the compositor never moved"
shot running
# PAUSED adds yellow to the yellow of the credit line.
before=$(fraction running 800x600+0+0 "$yellow")
xdotool key p
more=$(awk -v b="$before" 'BEGIN { print b + 0.0003 }')
paused=$(waitFor paused 800x600+0+0 "$yellow" "$more" 30)
above "${paused% *}" "$more" && ok "P pauses (yellow ${before} -> ${paused% *})" \
    || fail "no PAUSED after P (yellow ${before} -> $paused)"
quits "Wayland"
finish "e2e wayland"
