#!/bin/bash
# Runs every libFuzzer target for a bounded time, from the committed seed
# corpus, and writes what each did to $BUILD/fuzz/summary.txt.
# Usage: fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$1"
seconds="${2:-60}"
bin="$build/fuzz/tests/fuzz"
out="$build/fuzz/runs"
summary="$build/fuzz/summary.txt"
mkdir -p "$out"
: >"$summary"
# The launcher keeps its settings until the process ends: not leaks.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=0
for target in "$bin"/fuzz_*; do
    name=$(basename "$target")
    short=${name#fuzz_}
    corpus="$out/$short-corpus"
    mkdir -p "$corpus" "$out/$short-artifacts"
    cp -n "$root/tests/fuzz/corpus/$short/"* "$corpus/" 2>/dev/null || true
    log="$out/$short.log"
    echo "fuzzing $short for ${seconds}s ..."
    status=0
    "$target" -max_total_time="$seconds" -close_fd_mask=3 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$out/$short-artifacts/" "$corpus" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        failed=$((failed + 1))
        echo "$short: FAILED after ${runs:-?} runs; see $log and $out/$short-artifacts/" | tee -a "$summary"
        grep -m 20 -E "ERROR|SUMMARY|#[0-9]+ 0x" "$log" || true
    else
        echo "$short: ${runs:-0} executions in ${seconds} s, no crash" | tee -a "$summary"
    fi
done
echo "$(( $(ls "$bin"/fuzz_* | wc -l) - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
