#!/usr/bin/env bash
# The installed game: cmake --install into a scratch prefix, the packaging
# files checked by their validators, then the installed binary started under
# Xvfb from an unrelated folder with its own HOME and XDG_DATA_HOME.
#   install.sh BUILD_DIR      (E2E_SHOTS=dir keeps the screenshots)
set -u
BUILD=$(readlink -f "$1")
work=$(mktemp -d /tmp/driftwing-install-XXXXXX)
source "$(dirname "$0")/../e2e/common.sh"
trap cleanup EXIT

prefix=$work/prefix
cmake --install "$BUILD" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

for f in games/driftwing bin/driftwing share/games/driftwing/data/title.bmp share/games/driftwing/Data/cloud/info \
         share/applications/driftwing.desktop share/metainfo/driftwing.metainfo.xml \
         share/man/man6/driftwing.6.gz share/doc/driftwing/copyright share/doc/driftwing/changelog.gz \
         share/icons/hicolor/48x48/apps/driftwing.png share/icons/hicolor/128x128/apps/driftwing.png \
         share/icons/hicolor/256x256/apps/driftwing.png; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
for size in 48 128 256; do
    got=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x$size/apps/driftwing.png" 2>&1)
    [ "$got" = "${size}x$size" ] || fail "icon $size is $got"
done

out=$(desktop-file-validate "$prefix/share/applications/driftwing.desktop" 2>&1) \
    && [ -z "$out" ] && ok "desktop entry valid" || fail "desktop entry: $out"
grep -qx 'Exec=driftwing --window --scale auto' "$prefix/share/applications/driftwing.desktop" \
    || fail "desktop entry does not start a scaled window"
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/driftwing.metainfo.xml" 2>&1) \
    && ok "metainfo valid" || fail "metainfo: $out"
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/driftwing.6.gz" 2>&1 >/dev/null)
[ -z "$out" ] && ok "man page without warnings" || fail "man page: $out"
for section in OPTIONS KEYS FILES 'EXIT STATUS'; do
    zcat "$prefix/share/man/man6/driftwing.6.gz" | grep -q "^\.SH \"\?$section" || fail "man page lacks $section"
done

startX 640x480x24

# Fraction of white pixels in a W x H + X + Y box.
white() { convert "$work/$1.png" -crop "$2" +repage -fx 'r>0.8 && g>0.8 && b>0.8' -format '%[fx:mean]' info:; }

export HOME=$work/home XDG_DATA_HOME=$work/xdg
# The start folder holds a data/ of its own that is not the game's.
mkdir -p "$HOME" "$work/elsewhere/data"
cd "$work/elsewhere" || exit 1

# Starts the installed game, waits past the loading screen, takes a shot,
# holds s for `hold` seconds (+100 points a frame), quits with ESC.
run() {
    local name=$1 hold=$2
    "$prefix/bin/driftwing" >"$work/$name.txt" 2>&1 &
    gpid=$!
    # Past the loading screen: the score line is up.
    waitFor "$name" 200x20+0+460 'r>0.8 && g>0.8 && b>0.8' 0.02 15 >/dev/null
    checkLibrary "$gpid"
    sleep 0.5
    shot "$name"
    if [ "$hold" != 0 ]; then xdotool keydown s; sleep "$hold"; xdotool keyup s; fi
    xdotool key Escape
    for _ in $(seq 60); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$gpid" 2>/dev/null; then
        fail "$name: still running after ESC"; stopGame "$gpid"; gpid=; return
    fi
    wait "$gpid" || fail "$name: exit status $?"
    gpid=
    grep -q "Could not load" "$work/$name.txt" && fail "$name: assets missing: $(cat "$work/$name.txt")"
}

run first 1
best=$work/xdg/driftwing/high1
if [ -f "$best" ]; then
    ok "high1 made in the per-user folder: $(cat "$best")"
    [ "$(cat "$best")" -gt 0 ] 2>/dev/null || fail "high1 holds '$(cat "$best")'"
    [ "$(stat -c %a "$work/xdg/driftwing")" = 700 ] || fail "per-user folder is not private"
else
    fail "no high1 in $work/xdg/driftwing"
fi
# The save's lock file lies beside it.
others=$(find "$work" -name 'high1*' ! -path "$best" ! -path "$best.lock")
[ -z "$others" ] && ok "no other high1" || fail "high1 also at: $others"

run second 0
# First run: "0 NEW HIGHSCORE!!" from x = 300 past x = 450; second run: only
# the stored number, which ends before x = 380 (a few digits of the HUD font
# whiten some 3-4% of the 110 x 20 box).
before=$(white first 70x20+380+460)
after=$(white second 70x20+380+460)
digits=$(white second 110x20+300+460)
above "$before" 0.05 && ok "first run shows NEW HIGHSCORE ($before)" || fail "first run HUD ($before)"
above 0.005 "$after" && above "$digits" 0.02 && ok "second run shows the stored best ($digits, $after)" \
    || fail "second run HUD ($digits, $after)"

# A per-user folder that cannot be made: one line on standard error at
# start-up, nothing more about the best score at exit, even after a score.
printf 'x' >"$work/afile"
XDG_DATA_HOME=$work/afile SDL_AUDIODRIVER=dummy "$prefix/bin/driftwing" >"$work/nofolder.out" 2>"$work/nofolder.err" &
gpid=$!
sleep 4.5
xdotool keydown s; sleep 0.5; xdotool keyup s
xdotool key Escape
for _ in $(seq 60); do kill -0 "$gpid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$gpid" 2>/dev/null; then
    fail "no per-user folder: still running after ESC"
    stopGame "$gpid"
else
    wait "$gpid" || fail "no per-user folder: exit status $?"
    said=$(cat "$work/nofolder.err")
    want="driftwing: cannot create $work/afile/driftwing (Not a directory), so the best score will not be kept"
    [ "$said" = "$want" ] && ok "no per-user folder: said once on standard error" || fail "no per-user folder said: '$said'"
    [ -s "$work/nofolder.out" ] && fail "no per-user folder: standard output: $(cat "$work/nofolder.out")"
fi
gpid=

if [ "$failures" -eq 0 ]; then echo "install: all checks passed"; exit 0; fi
echo "install: $failures check(s) failed"
exit 1
