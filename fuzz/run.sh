#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a set time, two at a time, from
# its checked-in seeds (fuzz/corpus/<name>) plus what earlier runs found
# (kept in the build tree, never in the checked-in corpus).
#   run.sh BUILD SECONDS
# Prints the executions of each target; fails when any target finds a crash,
# a leak, a sanitizer report or a hang; the input is kept under
# BUILD/fuzz-artifacts.
set -u
build=$(readlink -f "$1")
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
art="$build/fuzz-artifacts"
mkdir -p "$art"

runOne() {
    local bin=$1 name=${1##*/fuzz_} runs
    local found="$build/fuzz-corpus/$name" log="$build/fuzz-$name.log"
    mkdir -p "$found"
    local seeds=()
    [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
    # Seconds a single input may take, and memory: a loader that needs more
    # for one broken file is a finding.
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$art/$name-" "$found" "${seeds[@]}" >"$log" 2>&1
    local status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ "$status" -eq 0 ]; then
        echo "fuzz $name: ${runs:-?} executions in ${seconds}s, no finding"
    else
        echo "fuzz $name: FAILED (status $status) after ${runs:-?} executions; see $log"
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5
    fi
    return $status
}
export -f runOne
export build seconds here art

ls "$build"/fuzz/fuzz_* >/dev/null 2>&1 || { echo "no fuzz targets in $build/fuzz"; exit 1; }
ls "$build"/fuzz/fuzz_* | xargs -P 2 -I{} bash -c 'runOne {}'
