#!/usr/bin/env bash
# The game's instructions per pass over the first passes of each golden demo,
# counted under valgrind's callgrind on the dummy drivers without sound,
# against the figure kept for the library it runs on in
# tests/demos/instructions: more than LIMIT percent above it fails, so that a
# slower frame cannot land unseen. A count, unlike a clock, is the same on a
# busy machine.
#   instructions.sh GAME DEMOCUT ASSETGEN FIGURES
# After a change that costs instructions on purpose, or saves some, write the
# new figure for this build and library with
#   DRIFTWING_UPDATE_INSTRUCTIONS=1 ctest --test-dir BUILD -R '^instructions$'
# (under LD_LIBRARY_PATH=<multiarch lib>/sdl12-compat for the compatibility
# library, as make test-compat runs it).
set -u
game=$(readlink -f "$1") democut=$(readlink -f "$2") assetgen=$(readlink -f "$3") figures=$(readlink -f "$4")
SRC=$(cd "$(dirname "$0")/.." && pwd)
source "$SRC/bench/instructions.sh"
PASSES=60
LIMIT=3
work=$(mktemp -d /tmp/driftwing-instructions-XXXXXX)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME=$work

# The library the game loads: an SDL 1.2 build loads SDL 2 too, through the
# mixer, so SDL 1.2 decides, and where it comes from.
libs=$(ldd "$game")
if grep -q 'sdl12-compat/libSDL-1\.2' <<<"$libs"; then key=sdl12-compat
elif grep -q 'libSDL-1\.2' <<<"$libs"; then key=sdl12
else key=sdl2
fi

cd "$work" || exit 1
"$assetgen" . >/dev/null || exit 1
passes=0
for demo in "$SRC"/tests/demos/*.demo; do
    name=$(basename "$demo" .demo)
    n=$("$democut" "$demo" "$PASSES" "$name.demo") || exit 1
    passes=$((passes + n))
    countIn 'runPass*' "$game" --nosound --timedemo "$name.demo" >"$name.count" &
done
wait
total=0
for f in *.count; do
    c=$(cat "$f")
    [ -n "$c" ] || { echo "instructions: nothing counted for ${f%.count}"; exit 1; }
    total=$((total + c))
done
perPass=$((total / passes))

kept=$(awk -v k="$key" '$1 == k { print $2 }' "$figures")
if [ "${DRIFTWING_UPDATE_INSTRUCTIONS:-}" = 1 ]; then
    grep -v "^$key " "$figures" >"$work/figures"
    echo "$key $perPass" >>"$work/figures"
    cp "$work/figures" "$figures"
    echo "instructions: $key: $perPass a pass written to $figures (was ${kept:-none})"
    exit 0
fi
if [ -z "$kept" ]; then
    echo "instructions: no figure for $key in $figures; measured $perPass a pass"
    exit 1
fi
echo "instructions: $key: $perPass a pass over $passes passes, kept $kept (limit +$LIMIT %)"
if [ "$perPass" -gt $((kept + kept * LIMIT / 100)) ]; then
    echo "instructions: more than $LIMIT % above the kept figure: a pass got slower"
    exit 1
fi
if [ "$perPass" -lt $((kept - kept * 10 / 100)) ]; then
    echo "instructions: more than 10 % below the kept figure: worth keeping the new one"
fi
exit 0
