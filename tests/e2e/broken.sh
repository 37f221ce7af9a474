#!/usr/bin/env bash
# End-to-end with broken data: the real game, one X server each, several at
# a time. Each case breaks one asset (missing, truncated, random bytes, a
# directory in its place, and a few hostile contents) or puts "high1" in a
# bad state, then plays once the game is past its loading screen (steering,
# firing, points: past the best where "high1" is tested), quits with ESC and
# is judged:
#   exit status 0; no sanitizer report; a broken asset named at most once
#   (exactly once where it cannot be loaded at all); "high1" afterwards
#   unchanged or holding the new best, never anything else.
#   broken.sh GAME ASSETGEN [JOBS]
source "$(dirname "$0")/common.sh"
begin broken "$1" "$2"
JOBS=${3:-6}
chmod 755 "$work"
trap 'umount "$work"/*/root 2>/dev/null; cleanup' EXIT

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
    sizebig) printf '99999\n' >"$p" ;;
    sizeneg) printf -- '-5\n' >"$p" ;;
    esac
}

# One case: NAME KIND ASSET HOW. KIND asset breaks ASSET (the path the game
# names) at file FILE; KIND high1 sets up "high1" as HOW says.
runCase() {
    local name=$1 kind=$2 asset=$3 how=$4 file=${5:-$3}
    local dir="$work/$name" root="$work/$name/root" status=0 asUser="" limit=""
    mkdir -p "$root"
    cp -r "$work/data" "$work/Data" "$root/"
    printf '42' >"$root/high1"
    if [ "$kind" = asset ]; then
        breakAsset "$root" "$file" "$how"
    else
        case $how in
        garbage) head -c 200 /dev/urandom >"$root/high1" ;;
        negative) printf -- '-17' >"$root/high1" ;;
        digits14) printf '12345678901234' >"$root/high1" ;;
        directory) rm "$root/high1"; mkdir "$root/high1" ;;
        fifo) rm "$root/high1"; mkfifo "$root/high1" ;;
        link) mkdir "$dir/elsewhere"; mv "$root/high1" "$dir/elsewhere/best"; ln -s "$dir/elsewhere/best" "$root/high1" ;;
        plantedtmp) printf 'victim' >"$dir/victim"; ln -s "$dir/victim" "$root/high1.tmp" ;;
        readonly) chmod 666 "$root/high1"; chmod -R a+rX "$dir"; chmod 555 "$root"; asUser=nobody ;;
        unreadable) printf '999999' >"$root/high1"; chmod 000 "$root/high1"; chmod -R a+rX "$dir"
                    chmod 777 "$root"; chmod 000 "$root/high1"; asUser=nobody ;;
        fsizezero) limit=0 ;;
        fulldisk)
            # A tiny file system, filled up; skipped where mounting is not allowed.
            mv "$root" "$dir/full"; mkdir "$root"
            if ! mount -t tmpfs -o size=20m tmpfs "$root" 2>/dev/null; then
                echo "skip $name: cannot mount a small file system here"; return 0
            fi
            cp -r "$dir/full/." "$root/"; rm -rf "$dir/full"
            head -c 30m /dev/zero >"$root/filler" 2>/dev/null ;;
        esac
    fi
    # The best as it was, where the link case keeps it elsewhere.
    local before="" after="" high="$root/high1"
    [ "$how" = link ] && high=$dir/elsewhere/best
    [ -f "$high" ] && before=$(cat "$high")
    [ "$how" = unreadable ] && before=999999

    startX 640x480x24
    local run="cd '$root' && SDL_AUDIODRIVER=dummy exec '$GAME'"
    [ -n "$limit" ] && run="ulimit -f $limit; $run"
    local as=()
    [ -n "$asUser" ] && as=(setpriv --reuid="$asUser" --regid=nogroup --clear-groups env DISPLAY="$DISPLAY"
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
    "${as[@]}" bash -c "$run" >"$dir/out.txt" 2>&1 &
    local gpid=$! problems=""
    # Play once past the loading screen: steer, fire; points past the stored
    # best where the HUD can show them (a score of 100 over 42: one pass of
    # S, so a starved game gets there too), else a moment of S; then quit.
    moving 120
    xdotool keydown Right
    if [ "$kind" = high1 ]; then
        scoreTo "$name/score" 3 || problems=" the score never reached 100;"
    else
        xdotool keydown s; sleep 0.5; xdotool keyup s
    fi
    xdotool keyup Right
    for _ in 1 2 3; do xdotool key space; sleep 0.1; done
    if [ "$how" = hangup ]; then kill -HUP "$gpid"; else xdotool key Escape; fi
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
    [ "$kind" = high1 ] || { [ "$named" -ge "$least" ] && [ "$named" -le 1 ]; } || problems="$problems $asset named $named times;"
    [ "$how" = link ] && [ ! -L "$root/high1" ] && problems="$problems link replaced;"
    [ "$how" = unreadable ] && chmod 600 "$high"
    [ -f "$high" ] && after=$(cat "$high")
    # Anything but the old best must be a plain number above it.
    if [ -f "$high" ] && [ "$after" != "$before" ] && { ! [[ "$after" =~ ^-?[0-9]+$ ]] ||
        { [[ "$before" =~ ^-?[0-9]{1,9}$ ]] && [ "$after" -le "$before" ]; }; }; then
        problems="$problems high1 went from '$before' to '$after';"
    fi
    [ "$how" = plantedtmp ] && [ "$(cat "$dir/victim")" != victim ] && problems="$problems planted link followed;"
    [ "$how" = fifo ] && [ ! -p "$root/high1" ] && problems="$problems FIFO replaced;"
    [ -e "$root/high1.tmp" ] && [ "$how" != plantedtmp ] && problems="$problems high1.tmp left behind;"
    grep -q 'could not save\|not saving' "$dir/out.txt" && saying=" ($(grep -h 'could not save\|not saving' "$dir/out.txt"))" || saying=""
    [ "$how" = fulldisk ] && umount "$root" 2>/dev/null
    if [ -z "$problems" ]; then
        echo "ok $name$saying"
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
        for how in missing truncated random directory; do echo "${a//\//_}-$how asset $a $how"; done
    done
    for s in data/ship data/bullet data/enemy Data/cloud; do
        echo "${s//\//_}-missing asset $s missing"
        for how in truncated random directory; do echo "${s//\//_}-info-$how asset $s $how $s/info"; done
    done
    for f in data/font data/bigfont; do
        printf '%s\n' "${f//\//_}-missing asset $f missing" "${f//\//_}-raw-truncated asset $f truncated $f/font.raw" \
            "${f//\//_}-ini-random asset $f random $f/font.ini" "${f//\//_}-ini-directory asset $f directory $f/font.ini"
    done
    cat <<'EOF'
title-huge asset data/title.bmp huge
frame-huge asset data/ship huge data/ship/ship1.bmp
info-frames100000 asset data/ship frames100000 data/ship/info
info-longname asset data/enemy longname data/enemy/info
font-sizebig asset data/font sizebig data/font/font.ini
font-sizeneg asset data/bigfont sizeneg data/bigfont/font.ini
EOF
    for how in garbage negative digits14 directory fifo link plantedtmp readonly unreadable fsizezero fulldisk hangup; do
        echo "high1-$how high1 high1 $how"
    done
} >"$work/cases"

cases=$(wc -l <"$work/cases")
results=$(xargs -P "$JOBS" -L 1 bash -c 'runCase "$@"' _ <"$work/cases")
echo "$results"
fails=$(grep -c '^FAIL' <<<"$results")
echo "broken data: $cases cases, $fails failed"
[ "$fails" -eq 0 ]
