#!/usr/bin/env bash
# End-to-end: full screen and F11 at every whole scale that fits a 1600 x 1200
# desktop, on bare X (a kiosk, `xinit driftwing`) and under a window manager.
# Each game is paused, so its picture holds still, and every F11 is judged
# against that picture as the game's own window showed it: in full screen it
# stands whole at the same scale, centred, black all around; back in a window
# it fills the window. Scale 1 starts in full screen, scale 2 in a window.
#   fullscreen.sh GAME ASSETGEN      (E2E_SHOTS=dir keeps the screenshots)
source "$(dirname "$0")/common.sh"
begin fullscreen "$1" "$2" 1600x1200x24
export SDL_AUDIODRIVER=dummy
screenW=1600 screenH=1200

# Sets win, and wx, wy, ww, wh to the game window's place and size.
placed() { window && where "$win"; }
# Keys go to the game's window, wherever the library put it.
press() { window && xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key "$1"; }

# Screenshots stay in X's own format while waiting (a 1600 x 1200 PNG takes
# a while to write on a busy machine); the last one of each F11 is kept as a
# PNG, for a player's eyes.
# The part of a paused picture right of game x = 200 (the ship, never
# steered, stays left of it and blinks even when paused), at scale $n with
# the picture's corner at ($1, $2).
still() { echo "$((440 * n))x$((480 * n))+$(($1 + 200 * n))+$(($2))"; }
# sameAs X Y: a new screenshot shows the kept picture with its corner at
# (X, Y), fewer than 100 pixels apart.
sameAs() {
    local got
    xwd -root -silent >"$work/screen.xwd"
    convert "xwd:$work/screen.xwd" -crop "$(still "$1" "$2")" +repage "$work/now.miff"
    got=$(compare -metric AE "$work/kept.miff" "$work/now.miff" null: 2>&1)
    [ "${got%%.*}" -lt 100 ] 2>/dev/null
}
# The last screenshot is black but for the picture at (fx, fy): no stale
# frame, no part of the picture out of place.
blackAround() {
    local brightest
    brightest=$(convert "xwd:$work/screen.xwd" -fill black \
        -draw "rectangle $fx,$fy $((fx + 640 * n - 1)),$((fy + 480 * n - 1))" -format '%[fx:maxima]' info:)
    above 0.05 "$brightest"
}

# Classic SDL 1.2 covers the screen by itself, with or without a window
# manager; under one its full-screen start was at times not seen in place on
# a busy machine, so it is checked on bare X only.
sdl=$(readlink -f "$(ldd "$GAME" | awk '/libSDL-1\.2/ { print $3; exit }')")
managers="none openbox"
case $sdl in *libSDL-1.2.so.0.11*) managers=none ;; esac
for wm in $managers; do
    [ "$wm" = openbox ] && windowManagerFor always
    for n in 1 2; do
        label="scale $n, window manager: $wm"
        # The full-screen picture's corner at this scale.
        fx=$(( (screenW - 640 * n) / 2 )) fy=$(( (screenH - 480 * n) / 2 ))
        # Only P pauses: classic SDL 1.2 under a window manager starts full
        # screen with the focus elsewhere.
        if [ "$n" = 1 ]; then mode="full screen"; launch "full$n-$wm" --scale $n --nosound --no-autopause
        else mode=window; launch "window$n-$wm" --window --scale $n --nosound --no-autopause; fi
        # The corner of the picture as first shown: the window's, or the
        # centred one of full screen.
        waitUntil 60 placed
        checkLibrary "$gpid"
        if [ "$mode" = window ]; then cx=$wx cy=$wy; else cx=$fx cy=$fy; fi
        # Paused once play is up: PAUSED in yellow at game (400, 38).
        got=$(waitFor "up$n-$wm" "$((200 * n))x$((20 * n))+$cx+$((cy + 460 * n))" "$white" 0.02 60)
        above "${got% *}" 0.02 || fail "$label: no score line at $cx,$cy"
        press p
        got=$(waitFor "start$n-$wm" "$((60 * n))x$((14 * n))+$((cx + 400 * n))+$((cy + 38 * n))" "$yellow" 0.05 30)
        # Whole n x n pixels are window.sh's to check.
        above "${got% *}" 0.05 && ok "$label: starts in $mode at $cx,$cy" || fail "$label: no PAUSED at $cx,$cy"
        if [ "$mode" = window ]; then
            # A window asks never to be made smaller than the picture at
            # scale 1 (the SDL 2 window can be resized).
            least=$(xprop -id "$win" WM_NORMAL_HINTS 2>/dev/null \
                | sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\).*/\1x\2/p')
            [ "${least%x*}" -ge 640 ] 2>/dev/null && [ "${least#*x}" -ge 480 ] \
                || fail "$label: the window may shrink to '$least'"
        else
            convert "$work/start$n-$wm.png" "xwd:$work/screen.xwd"
            blackAround || fail "$label: not black around the picture"
        fi
        convert "$work/start$n-$wm.png" -crop "$(still "$cx" "$cy")" +repage "$work/kept.miff"
        for k in 1 2 3 4; do
            if [ "$mode" = window ]; then
                # The player moved the window away from the centre, where a
                # centred window stands as the full-screen picture would.
                xdotool windowmove "$win" 40 30
                waitUntil 20 eval 'placed && [ "$wx" -lt 100 ] && sameAs "$wx" "$wy"' \
                    || fail "$label: the window was not moved ($wx,$wy)"
            fi
            press F11
            if [ "$mode" = window ]; then
                mode="full screen"
                if waitUntil 20 eval 'sameAs "$fx" "$fy" && blackAround'; then
                    ok "$label: F11 $k: full screen, the picture whole at $fx,$fy"
                else
                    fail "$label: F11 $k: the full-screen picture is not whole at $fx,$fy, or not alone"
                fi
            else
                mode=window
                if waitUntil 20 eval 'placed && [ "${ww}x$wh" = "$((640 * n))x$((480 * n))" ] && sameAs "$wx" "$wy"'; then
                    ok "$label: F11 $k: back in a ${ww}x$wh window at $wx,$wy"
                else
                    fail "$label: F11 $k: window ${ww}x$wh at $wx,$wy does not show the picture"
                fi
            fi
            convert "xwd:$work/screen.xwd" "$work/f11-$k-$n-$wm.png"
        done
        quits "$label"
    done
done

finish "e2e fullscreen"
