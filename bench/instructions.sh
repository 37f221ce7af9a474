# Instruction counts under valgrind's callgrind, which a busy machine does
# not disturb as it does a clock. Sourced by the benchmarks and the check of
# the test suite.

# The instructions run inside FUNCTION (and what it calls) while COMMAND
# runs: the game's pass (runPass) or the reference's frame loop (replay).
#   countIn FUNCTION COMMAND...   prints the count, or nothing on failure
countIn() {
    local fn=$1 out
    shift
    out=$(mktemp /tmp/driftwing-callgrind-XXXXXX)
    if valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect="$fn" \
        "$@" >/dev/null 2>"$out.log"; then
        sed -n 's/^totals: *\([0-9][0-9]*\).*/\1/p' "$out"
    else
        cat "$out.log" >&2
    fi
    rm -f "$out" "$out.log"
}
