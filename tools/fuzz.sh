#!/bin/bash
# Builds the fuzz preset and runs each fuzz target for SECONDS (default 600) on its
# committed seed corpus (tests/fuzz/corpus/<target>). New inputs go to a working corpus
# in the build folder, findings to <build>/fuzz-findings; any finding fails the run.
# FUZZ_BUILD_DIR chooses the build folder (default build/fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
build="${FUZZ_BUILD_DIR:-build/fuzz}"

cmake --preset fuzz -B "$build" >"$build.log" 2>&1 || { cat "$build.log"; exit 1; }
rm -f "$build.log"
cmake --build "$build"

mkdir -p "$build/fuzz-findings"
for fuzzer in "$build"/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    case "$fuzzer" in *_replay) continue ;; esac  # the corpus replays of a test build
    target="${fuzzer##*/fuzz_}"
    work="$build/fuzz-work/$target"
    log="$build/fuzz-$target.log"
    mkdir -p "$work"
    if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$target-" "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target: FINDING (log $log, input in $build/fuzz-findings/)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: $runs executions in $seconds s, no finding; working corpus $(ls "$work" | wc -l) inputs"
done
