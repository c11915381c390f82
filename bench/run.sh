#!/usr/bin/env bash
# Runs every benchmark of a build folder, then the floors beside them: the time
# `cat` takes to read each generated file, and the peak memory of a load.
set -euo pipefail
build=${1:-build-bench}
export TABULON_BENCH_DIR=${TABULON_BENCH_DIR:-/tmp/tabulon-bench}

for program in "$build"/bench/*_bench; do
    echo "== $(basename "$program")"
    "$program" --benchmark_counters_tabular=true
done

echo "== ui_open_bench (main window, offscreen: open a 1,000,000 x 10 table up to its first paint, then type in the last row)"
ui_table="$TABULON_BENCH_DIR/ui-1000000x10.tbn"
mkdir -p "$TABULON_BENCH_DIR"
[ -f "$ui_table" ] || "$build"/ui_open_bench --make "$ui_table" 1000001 11
"$build"/ui_open_bench "$ui_table"

echo "== cat FILE > /dev/null (the floor for loading; page cache warm)"
for file in "$TABULON_BENCH_DIR"/*.tbn "$TABULON_BENCH_DIR"/*.csv; do
    cat "$file" > /dev/null
    start=$(date +%s%N)
    cat "$file" > /dev/null
    end=$(date +%s%N)
    printf '%-40s %8d ms\n' "$(basename "$file")" $(((end - start) / 1000000))
done

echo "== peak memory after loading"
for file in "$TABULON_BENCH_DIR"/*.tbn "$TABULON_BENCH_DIR"/*.csv; do
    "$build"/bench/peak_memory "$file"
done
