# Shared by the end-to-end scripts: check reporting, a private X server and
# screenshot measures. Sourced after the script has set $work.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# Starts Xvfb with the given screen geometry on a display number the server
# picks itself, so scripts started at the same moment never race for one,
# and waits until it answers. Sets xpid and DISPLAY.
startX() {
    local numberFile
    numberFile=$(mktemp /tmp/driftwing-display-XXXXXX)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
    xpid=$!
    for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n 1 "$numberFile")"
    rm -f "$numberFile"
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
}

# Stops the game and the server; keeps the screenshots when E2E_SHOTS names
# a folder.
cleanup() {
    [ -n "${gpid:-}" ] && kill "$gpid" 2>/dev/null
    [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
    [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
    if [ -n "${E2E_SHOTS:-}" ]; then mkdir -p "$E2E_SHOTS" && cp "$work"/*.png "$E2E_SHOTS"/ 2>/dev/null; fi
    rm -rf "$work"
}

shot() { xwd -root -silent | convert xwd:- "$work/$1.png"; }
# Fraction of pixels in a W x H + X + Y box for which the fx test holds.
fraction() { convert "$work/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
