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

# Whether the game $1 is built on SDL 2 itself (a build on SDL 1.2 may still
# load SDL 2 through the mixer's own libraries).
builtOnSdl2() { readelf -d "$1" | grep -q 'NEEDED.*\[libSDL2-2'; }

# SDL 2 asks the window manager for full screen, as on any desktop; SDL 1.2
# covers the screen itself. A game built on SDL 2 ($1) gets a window manager
# on the private server. Sets wmpid.
windowManagerFor() {
    builtOnSdl2 "$1" || return 0
    openbox >/dev/null 2>&1 &
    wmpid=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
        sleep 0.1
    done
}

# Asks the given processes to end, and kills what is left after 5 s.
stopGame() {
    [ $# -gt 0 ] || return 0
    kill "$@" 2>/dev/null
    local p alive
    for _ in $(seq 50); do
        alive=0
        for p in "$@"; do kill -0 "$p" 2>/dev/null && alive=1; done
        [ "$alive" -eq 0 ] && break
        sleep 0.1
    done
    kill -9 "$@" 2>/dev/null
    return 0
}

# Stops the games and the server; keeps the screenshots when E2E_SHOTS
# names a folder. Every game still running goes, not only the last one
# started: one a failed check left behind would spin on after the test. The
# games go first, and are waited for: an X server taken away under one
# leaves a game on the SDL 2 based library spinning in Xlib for good, deaf
# to the polite signal.
cleanup() {
    local games=() p
    for p in ${gpid:-} $(jobs -p); do
        [ "$p" = "${xpid:-}" ] || [ "$p" = "${wmpid:-}" ] || games+=("$p")
    done
    stopGame "${games[@]}"
    [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
    [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
    if [ -n "${E2E_SHOTS:-}" ]; then mkdir -p "$E2E_SHOTS" && cp "$work"/*.png "$E2E_SHOTS"/ 2>/dev/null; fi
    rm -rf "$work"
}

# With DRIFTWING_SDL_LIBRARY set (make test-compat), the game process with
# this pid must have that SDL library mapped, not another found first.
checkLibrary() {
    [ -n "${DRIFTWING_SDL_LIBRARY:-}" ] || return 0
    if grep -q "$DRIFTWING_SDL_LIBRARY" "/proc/$1/maps" 2>/dev/null; then
        ok "runs on $(grep -o "$DRIFTWING_SDL_LIBRARY[^ ]*" "/proc/$1/maps" | head -1)"
    else
        fail "the game does not run on $DRIFTWING_SDL_LIBRARY"
    fi
}

shot() { xwd -root -silent | convert xwd:- "$work/$1.png"; }
# Takes shots as NAME until the fx test holds on more than LIMIT of the box,
# for up to SECONDS; prints the last fraction and the milliseconds waited.
# Only the box is converted while waiting, so a try takes a moment. How long
# a library takes to its first frame, or a busy machine to anything, is not
# guessed at with one fixed sleep.
waitFor() {
    local name=$1 box=$2 test=$3 limit=$4 seconds=$5 start got
    start=$(date +%s%N)
    while :; do
        xwd -root -silent >"$work/$name.xwd"
        got=$(convert "xwd:$work/$name.xwd" -crop "$box" +repage -fx "$test" -format '%[fx:mean]' info:)
        above "$got" "$limit" && break
        [ $(( ($(date +%s%N) - start) / 1000000 )) -gt $((seconds * 1000)) ] && break
        sleep 0.05
    done
    convert "xwd:$work/$name.xwd" "$work/$name.png"
    echo "$got $(( ($(date +%s%N) - start) / 1000000 ))"
}

# Fraction of pixels in a W x H + X + Y box for which the fx test holds.
fraction() { convert "$work/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
