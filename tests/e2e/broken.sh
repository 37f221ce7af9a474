#!/usr/bin/env bash
# End-to-end with broken data: the real game, one X server each, several at
# a time. Each case breaks one asset (missing, truncated, random bytes, a
# directory in its place, and a few hostile contents), then plays once the
# game is past its loading screen (steering, firing), quits with ESC and is
# judged:
#   exit status 0; no sanitizer report; a broken asset named at most once
#   (exactly once where it cannot be loaded at all); "high1" afterwards
#   unchanged or holding the new best, never anything else. ("high1" in bad
#   states is the best-score unit test's: it runs the same reader and writer.)
#   broken.sh GAME ASSETGEN [JOBS]
source "$(dirname "$0")/common.sh"
begin broken "$1" "$2"
JOBS=${3:-6}

# Breaks file or directory $2 of game root $1 in manner $3.
breakAsset() {
    local root=$1 asset=$2 how=$3 p="$1/$2"
    case $how in
    missing) rm -rf "$p" ;;
    truncated) [ -f "$p" ] && truncate -s $(( $(stat -c %s "$p") / 2 )) "$p" ;;
    # Random bytes after one that no number starts with: a font.ini of random
    # bytes that began with a digit would hold a valid sheet size.
    random) rm -rf "$p"; { printf '#'; head -c 2999 /dev/urandom; } >"$p" ;;
    directory) rm -rf "$p"; mkdir "$p" ;;
    huge) printf 'BM\066\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\140\352\0\0\140\352\0\0\001\0\030\0' >"$p"
          head -c 24 /dev/zero >>"$p" ;;
    frames100000) printf 'FILES: 100000\nship0.bmp 100 255 0 255\nship1.bmp\n' >"$p" ;;
    longname) { printf 'FILES: 2\nship0.bmp 100 255 0 255\n'; head -c 5000 /dev/zero | tr '\0' n; printf '.bmp 80\n'; } >"$p" ;;
    esac
}

# One case: NAME ASSET HOW [FILE] breaks ASSET (the path the game names) at
# file FILE.
runCase() {
    local name=$1 asset=$2 how=$3 file=${4:-$2}
    local dir="$work/$name" root="$work/$name/root" status=0
    mkdir -p "$root"
    cp -r "$work/data" "$work/Data" "$root/"
    printf '42' >"$root/high1"
    breakAsset "$root" "$file" "$how"
    local before after
    before=$(cat "$root/high1")

    startX 640x480x24
    (cd "$root" && SDL_AUDIODRIVER=dummy exec "$GAME") >"$dir/out.txt" 2>&1 &
    local gpid=$! problems=""
    # Play once past the loading screen: steer, fire, a moment of S for
    # points; then quit.
    moving 120
    xdotool keydown Right
    xdotool keydown s; sleep 0.5; xdotool keyup s
    xdotool keyup Right
    for _ in 1 2 3; do xdotool key space; sleep 0.1; done
    xdotool key Escape
    ends "$gpid" 120 || { kill -9 "$gpid"; status=124; }
    kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null

    [ "$status" -eq 0 ] || problems="$problems exit status $status;"
    grep -qE 'Sanitizer|runtime error:' "$dir/out.txt" && problems="$problems sanitizer report;"
    local named least=1
    named=$(grep -c -- "$asset" "$dir/out.txt")
    # A truncated picture may still load whole enough; a short font file
    # always draws, and is named.
    case $how in truncated | frames100000) least=0 ;; esac
    [ "${file##*/}" = font.raw ] && least=1
    { [ "$named" -ge "$least" ] && [ "$named" -le 1 ]; } || problems="$problems $asset named $named times;"
    # Anything but the old best must be a plain number above it.
    after=$(cat "$root/high1")
    if [ "$after" != "$before" ] && { ! [[ "$after" =~ ^[0-9]+$ ]] || [ "$after" -le "$before" ]; }; then
        problems="$problems high1 went from '$before' to '$after';"
    fi
    if [ -z "$problems" ]; then
        echo "ok $name"
    else
        echo "FAIL $name:$problems"
        grep -v '^ALSA' "$dir/out.txt" | head -20 | sed 's/^/    /'
    fi
}
# Every function, the shared ones too, for the cases run by xargs.
export -f $(compgen -A function)
export GAME work white yellow

{
    for a in data/{title,repeat,front,logo,smallship,gameover}.bmp data/sound/{tnt22.it,shot.wav,explode.wav}; do
        for how in missing truncated random directory; do echo "${a//\//_}-$how $a $how"; done
    done
    for s in data/ship data/bullet data/enemy Data/cloud; do
        echo "${s//\//_}-missing $s missing"
        for how in truncated random directory; do echo "${s//\//_}-info-$how $s $how $s/info"; done
    done
    for f in data/font data/bigfont; do
        printf '%s\n' "${f//\//_}-missing $f missing" "${f//\//_}-raw-truncated $f truncated $f/font.raw" \
            "${f//\//_}-ini-random $f random $f/font.ini" "${f//\//_}-ini-directory $f directory $f/font.ini"
    done
    # Hostile contents that reach start-up's own messages: a frame that
    # claims a huge picture, a count past the cap, a name past its buffer.
    # (A huge title and font sheet sizes out of range are refused by the
    # loaders as any unreadable file is: the bitmap and font tests' tables.)
    cat <<'EOF'
frame-huge data/ship huge data/ship/ship1.bmp
info-frames100000 data/ship frames100000 data/ship/info
info-longname data/enemy longname data/enemy/info
EOF
} >"$work/cases"

cases=$(wc -l <"$work/cases")
results=$(xargs -P "$JOBS" -L 1 bash -c 'runCase "$@"' _ <"$work/cases")
echo "$results"
fails=$(grep -c '^FAIL' <<<"$results")
echo "broken data: $cases cases, $fails failed"
[ "$fails" -eq 0 ]
