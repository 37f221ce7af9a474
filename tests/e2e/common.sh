# Shared by the end-to-end and install scripts: check reporting, a scratch
# folder with the game data, a private X server, starting the game, waiting
# for a state (a window, a picture, a line, a process end) with a generous
# ceiling, and screenshot measures. A busy machine may take many seconds to
# get anywhere, so nothing here waits a fixed time for the game.
set -u
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# begin NAME GAME ASSETGEN [SCREEN]: sets GAME and GEN, makes the data in a
# scratch folder that becomes the working folder (removed at exit with every
# game still running), and with SCREEN starts a private X server that size.
begin() {
    GAME=$(readlink -f "$2") GEN=$(readlink -f "$3")
    work=$(mktemp -d "/tmp/driftwing-$1-XXXXXX")
    trap cleanup EXIT
    "$GEN" "$work" >/dev/null || { echo "FAIL: asset generator"; exit 1; }
    cd "$work" || exit 1
    [ -z "${4:-}" ] || startX "$4"
}

# waitUntil SECONDS COMMAND...: runs the command every tenth of a second until
# it succeeds, for up to SECONDS by the clock; fails if it never does.
waitUntil() {
    local end=$(( $(date +%s) + $1 ))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}
alive() { kill -0 "$1" 2>/dev/null; }
gone() { ! alive "$1"; }
# ends PID [SECONDS]: waits up to SECONDS (60) for the process to end; sets status.
ends() { waitUntil "${2:-60}" gone "$1" || return 1; wait "$1"; status=$?; }

# Starts Xvfb with the given screen geometry on a display number the server
# picks itself, so scripts started at the same moment never race for one,
# and waits until it answers. Sets xpid and DISPLAY.
startX() {
    local numberFile
    numberFile=$(mktemp /tmp/driftwing-display-XXXXXX)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
    xpid=$!
    waitUntil 60 test -s "$numberFile"
    export DISPLAY=":$(head -n 1 "$numberFile")"
    rm -f "$numberFile"
    waitUntil 60 xdotool getdisplaygeometry >/dev/null 2>&1
}

# launch NAME ARGS...: starts the game with its output in NAME.txt; sets gpid.
launch() { local name=$1; shift; "$GAME" "$@" >"$work/$name.txt" 2>&1 & gpid=$!; }

# A window titled Driftwing, in win.
window() { win=$(xdotool search --name '^Driftwing$' 2>/dev/null | head -1); [ -n "$win" ]; }

# Sets wx, wy, ww, wh to window $1's position on the screen and its size.
where() {
    eval "$(xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X:/ { print "wx=" $4 }
        /Absolute upper-left Y:/ { print "wy=" $4 } /Width:/ { print "ww=" $2 } /Height:/ { print "wh=" $2 }')"
}

# Whether the game $1 is built on SDL 2 itself (a build on SDL 1.2 may still
# load SDL 2 through the mixer's own libraries).
builtOnSdl2() { readelf -d "$1" | grep -q 'NEEDED.*\[libSDL2-2'; }

# SDL 2 asks the window manager for full screen, as on any desktop; SDL 1.2
# covers the screen itself. A game built on SDL 2 ($1) gets a window manager
# on the private server, and so does any with $1 "always". Sets wmpid.
windowManagerFor() {
    [ "$1" = always ] || builtOnSdl2 "$1" || return 0
    openbox >/dev/null 2>&1 &
    wmpid=$!
    waitUntil 60 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window'
    # That mark comes before the window manager takes on new windows, and a
    # game window mapped in between may stay unseen: wait until it has framed
    # a window of its own.
    xmessage -title driftwing-probe probe >/dev/null 2>&1 &
    local probe=$!
    waitUntil 60 eval 'xprop -name driftwing-probe _NET_FRAME_EXTENTS 2>/dev/null | grep -q ='
    kill "$probe" 2>/dev/null
    wait "$probe" 2>/dev/null
}

# quits LABEL: ESC ends the running game with status 0.
quits() {
    xdotool key Escape
    if ! ends "$gpid"; then fail "$1: still running after ESC"
    elif [ "$status" -eq 0 ]; then ok "$1: ESC quits with status 0"; else fail "$1: exit status $status"; fi
    gpid=
}

# Stops the games and the server; keeps the screenshots when E2E_SHOTS
# names a folder. Every game still running goes, not only the last one
# started: one a failed check left behind would spin on after the test. The
# games go first, and are waited for, then the server.
cleanup() {
    local games=() p
    for p in ${gpid:-} $(jobs -p); do
        [ "$p" = "${xpid:-}" ] || [ "$p" = "${wmpid:-}" ] || games+=("$p")
    done
    # Asked to end, and killed when still there after 5 s.
    [ ${#games[@]} -eq 0 ] || kill "${games[@]}" 2>/dev/null
    for p in "${games[@]}"; do waitUntil 5 gone "$p" || kill -9 "$p" 2>/dev/null; done
    [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
    [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
    if [ -n "${E2E_SHOTS:-}" ]; then mkdir -p "$E2E_SHOTS" && cp "$work"/*.png "$E2E_SHOTS"/ 2>/dev/null; fi
    rm -rf "$work"
}

# finish NAME: the verdict, failing also where a game could not load its
# data; after a failure, what the games said.
finish() {
    grep -l "Could not load" "$work"/*.txt 2>/dev/null && fail "assets missing"
    if [ "$failures" -eq 0 ]; then echo "$1: all checks passed"; exit 0; fi
    echo "$1: $failures check(s) failed; the games said:"
    for f in "$work"/*.txt; do [ -e "$f" ] && echo "--- ${f##*/}" && grep -v '^ALSA' "$f" | head -30; done
    exit 1
}

# With DRIFTWING_SDL_LIBRARY set (make test-compat), the game process with
# this pid must have that SDL library mapped, not another found first.
checkLibrary() {
    [ -z "${DRIFTWING_SDL_LIBRARY:-}" ] || grep -q "$DRIFTWING_SDL_LIBRARY" "/proc/$1/maps" 2>/dev/null \
        || fail "the game does not run on $DRIFTWING_SDL_LIBRARY"
}

shot() { xwd -root -silent | convert xwd:- "$work/$1.png"; }
# waitFor NAME BOX TEST LIMIT SECONDS: takes shots as NAME until the test
# holds on more than LIMIT of the box, for up to SECONDS; prints the last
# fraction and the milliseconds waited. Only the box is measured while
# waiting, so a try takes a moment.
waitFor() {
    local start=$(date +%s%N) got
    waitUntil "$5" seen "$@"
    convert "xwd:$work/$1.xwd" "$work/$1.png"
    echo "$got $(( ($(date +%s%N) - start) / 1000000 ))"
}
seen() { xwd -root -silent >"$work/$1.xwd"; got=$(measure "xwd:$work/$1.xwd" "$2" "$3"); above "$got" "$4"; }
# Fraction of pixels in a W x H + X + Y box of shot $1 for which the fx test holds.
fraction() { measure "$work/$1.png" "$2" "$3"; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
white='r>0.8 && g>0.8 && b>0.8'
yellow='r>0.7 && g>0.7 && b<0.35'
# The same for an image file. The white and yellow tests, and a plain lit
# (not black) test, run on ImageMagick's own operators: -fx takes a minute
# over a large box on a busy machine.
measure() {
    local ops=(-fx "$3")
    case $3 in
    "$white") ops=(-channel R,G,B -threshold 80% +channel -separate -evaluate-sequence min) ;;
    "$yellow") ops=(-channel B -negate -channel R,G -threshold 70% -channel B -threshold 65% +channel
                    -separate -evaluate-sequence min) ;;
    lit) ops=(-grayscale Average -threshold 5%) ;;
    esac
    convert "$1" -crop "$2" +repage "${ops[@]}" -format '%[fx:mean]' info:
}

# playing SHOT [X Y]: waits for the score line of a scale-1 picture whose
# corner is at (X, Y) on the screen: the game is past its loading screen.
playing() { above "$(waitFor "$1" "200x20+${2:-0}+$(( ${3:-0} + 460 ))" "$white" 0.02 60 | cut -d' ' -f1)" 0.02; }
# scoreTo SHOT DIGITS: holds S (points every pass) until the score on the
# HUD (digits 7 pixels apart from x = 100) has that many digits.
scoreTo() {
    xdotool keydown s
    waitUntil 120 seen "$1" "7x20+$(( 93 + 7 * $2 ))+460" "$white" 0.05
    set -- $?
    xdotool keyup s
    return "$1"
}
# moving SECONDS: waits until four shots in a row, a fifth of a second apart,
# all differ: the game plays, where its loading screen stands still.
moving() {
    local a= b n=0 end=$(( $(date +%s) + $1 ))
    while [ "$n" -lt 4 ] && [ "$(date +%s)" -lt "$end" ]; do
        b=$(xwd -root -silent | md5sum)
        [ "$b" = "$a" ] && n=0 || n=$((n + 1))
        a=$b
        sleep 0.2
    done
    [ "$n" -ge 4 ]
}
