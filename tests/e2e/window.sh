#!/usr/bin/env bash
# End-to-end: the game in a window at scale 2 in a real X server. The window
# must be 1280 x 960, titled, with an icon, show the play band in whole 2 x 2
# pixels and pause when it loses focus (F11 is fullscreen.sh's).
# Without a window manager the library decides where the window goes (the
# classic library at the top-left corner, the SDL 2 based one centred), so
# every crop is taken from the window's own position.
#   window.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
source "$(dirname "$0")/common.sh"
# A desktop larger than the scaled window, so full screen is told apart.
begin window "$1" "$2" 1600x1200x24
windowManagerFor "$GAME"

# Whether the window, looked up anew (SDL 2 may make it again for its
# renderer), shows the score line at scale 2: past the loading screen.
wx=0 wy=0 ww=0 wh=0
inPlay() { window && where "$win" && shot play && above "$(fraction play "400x40+$wx+$((wy + 920))" "$white")" 0.02; }

# No sound device at all: with --nosound the game must not even try one.
SDL_AUDIODRIVER=nosuch launch out --window --scale 2 --nosound
waitUntil 90 inPlay || fail "no window titled Driftwing in play"
checkLibrary "$gpid"
[ "${ww}x$wh" = "1280x960" ] && ok "window is 1280x960 at $wx,$wy" || fail "window is ${ww}x$wh"
# The icon as ICCCM hints carry it (a pixmap in WM_HINTS) or as the
# desktop's standard property (_NET_WM_ICON, ARGB pixels).
icon=$(xprop -id "${win:-0}" -f _NET_WM_ICON 32c '=$0x$1' _NET_WM_ICON 2>/dev/null)
{ xprop -id "${win:-0}" WM_HINTS | grep -q icon || [[ "$icon" =~ =[1-9][0-9]*x[1-9][0-9]*$ ]]; } \
    && ok "window has an icon" || fail "no icon"
band=$(fraction play "1280x800+$wx+$((wy + 120))" lit)
above "$band" 0.5 && ok "play band drawn ($band)" || fail "play band mostly black ($band)"
# Whole-pixel scaling: sampling every other pixel and doubling it again
# gives back the very same picture.
convert play.png -crop "1280x960+$wx+$wy" +repage win.png
convert win.png -sample 50% -sample 200% resampled.png
blocks=$(compare -metric AE win.png resampled.png null: 2>&1)
[ "$blocks" = "0" ] && ok "every game pixel is a 2x2 block" || fail "$blocks pixels break the 2x2 blocks"

# Losing the input focus pauses: PAUSED in yellow at game (400, 36). The
# window first holds the focus for a good while: a library may hold back a
# focus change for a moment (SDL 2 does, 200 ms, to let a quick in-and-out
# cancel), and an out that follows an in still held back is no loss.
pausedBox="120x28+$((wx + 800))+$((wy + 76))"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 1
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ] || fail "the window never got the focus"
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ { print $4 }')" 2>/dev/null
paused=$(waitFor unfocused "$pausedBox" "$yellow" 0.05 30)
above "${paused% *}" 0.05 && ok "focus loss pauses (${paused% *}, seen after ${paused#* } ms)" \
    || fail "no PAUSED after focus loss ($paused)"

# P resumes after the focus pause; ESC quits with status 0.
xdotool key p
resumed() { shot resumed; above 0.05 "$(fraction resumed "120x28+$((wx + 800))+$((wy + 76))" "$yellow")"; }
waitUntil 30 resumed && ok "P resumes" || fail "still paused after P"
quits "scale 2"
grep -q "Warning: Couldn't set" out.txt && fail "--nosound still opened the mixer"

# --scale auto in a window: the largest factor that fits 1600 x 1200 with
# room for a frame is 2. The window is there from the loading screen on.
SDL_AUDIODRIVER=nosuch launch auto --window --scale auto --nosound
sized() { window && where "$win" && [ "${ww}x$wh" = "1280x960" ]; }
waitUntil 60 sized && ok "--scale auto: 1280x960 window" || fail "--scale auto: window is ${ww}x$wh"
finish "e2e window"
