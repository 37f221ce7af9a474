#!/usr/bin/env bash
# The installed game: cmake --install into a scratch prefix, the packaging
# files checked by their validators, then the installed binary started under
# Xvfb from an unrelated folder with its own HOME and XDG_DATA_HOME.
#   install.sh BUILD_DIR      (E2E_SHOTS=dir keeps the screenshots)
source "$(dirname "$0")/../e2e/common.sh"
BUILD=$(readlink -f "$1")
work=$(mktemp -d /tmp/driftwing-install-XXXXXX)
trap cleanup EXIT
prefix=$work/prefix
cmake --install "$BUILD" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# What is installed is the package's file list (package.sh); here the icons'
# sizes, the validators and the installed game itself.
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
GAME=$prefix/bin/driftwing
export HOME=$work/home XDG_DATA_HOME=$work/xdg
# The start folder holds a data/ of its own that is not the game's.
mkdir -p "$HOME" "$work/elsewhere/data"
cd "$work/elsewhere" || exit 1

# run NAME [score]: starts the installed game, waits past the loading screen,
# holds S until the score has three digits if asked, quits with ESC.
run() {
    launch "$1"
    playing "$1" || fail "$1: play never began"
    checkLibrary "$gpid"
    [ "${2:-}" = score ] && { scoreTo "$1-score" 3 || fail "$1: no points"; }
    quits "$1"
}
run first score
best=$work/xdg/driftwing/high1
[ "$(cat "$best" 2>/dev/null)" -gt 0 ] 2>/dev/null && [ "$(stat -c %a "${best%/*}")" = 700 ] \
    && ok "high1 made in the private per-user folder: $(cat "$best")" \
    || fail "high1 in the per-user folder: '$(cat "$best" 2>&1)', the folder's mode $(stat -c %a "${best%/*}" 2>&1)"
# The save's lock file lies beside it.
others=$(find "$work" -name 'high1*' ! -path "$best" ! -path "$best.lock")
[ -z "$others" ] && ok "no other high1" || fail "high1 also at: $others"

run second
# First run: "0 NEW HIGHSCORE!!" from x = 300 past x = 450; second run: only
# the stored number, which ends before x = 380 (a few digits of the HUD font
# whiten some 3-4% of the 110 x 20 box).
before=$(fraction first 70x20+380+460 "$white")
after=$(fraction second 70x20+380+460 "$white")
digits=$(fraction second 110x20+300+460 "$white")
above "$before" 0.05 && ok "first run shows NEW HIGHSCORE ($before)" || fail "first run HUD ($before)"
above 0.005 "$after" && above "$digits" 0.02 && ok "second run shows the stored best ($digits, $after)" \
    || fail "second run HUD ($digits, $after)"

# A per-user folder that cannot be made: one line on standard error at
# start-up, nothing more about the best score at exit, even after a score.
printf 'x' >"$work/afile"
XDG_DATA_HOME=$work/afile SDL_AUDIODRIVER=dummy run nofolder score
said=$(cat "$work/nofolder.txt")
want="driftwing: cannot create $work/afile/driftwing (Not a directory), so the best score will not be kept"
[ "$said" = "$want" ] && ok "no per-user folder: said once" || fail "no per-user folder said: '$said'"

# make uninstall takes away every file the install put there.
sh "$(dirname "$0")/../../dist/uninstall.sh" "$prefix" >/dev/null || fail "uninstall failed"
left=$(find "$prefix" ! -type d)
[ -z "$left" ] && ok "uninstall leaves no file" || fail "uninstall left: $left"
finish "install"
