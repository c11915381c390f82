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

echo "== ui_open_bench (main window, offscreen: open a 1,000,000 x 10 table up to its first paint, move the card through records, insert and delete an item, type in the last row, copy, paste and undo a 100,000 x 10 block)"
ui_table="$TABULON_BENCH_DIR/ui-1000000x10.tbn"
mkdir -p "$TABULON_BENCH_DIR"
[ -f "$ui_table" ] || "$build"/ui_open_bench --make "$ui_table" 1000001 11
"$build"/ui_open_bench "$ui_table"

echo "== ui_open_bench on 10,000,000 records of 3 items: the card's PgDn, under 20 ms a key"
big_table="$TABULON_BENCH_DIR/ui-10000000x3.tbn"
[ -f "$big_table" ] || "$build"/ui_open_bench --make "$big_table" 10000001 4
"$build"/ui_open_bench "$big_table" 2>/dev/null | grep -E '^(rows|open \+|card:)'

echo "== ui_open_bench on wide tables (items over one record): time per item should stay flat"
printf '%9s %10s %10s %10s %14s\n' items 'open ms' 'insert ms' 'delete ms' 'open us/item'
for items in 100000 200000 400000 1000000; do
    wide="$TABULON_BENCH_DIR/ui-wide-$items.tbn"
    [ -f "$wide" ] || "$build"/ui_open_bench --make "$wide" 3 $((items + 1))
    "$build"/ui_open_bench "$wide" 2>/dev/null | awk -v items="$items" '
        /open \+ first paint/ { open = $(NF - 1) }
        /insert an item/ { insert = $(NF - 1) }
        /delete the first/ { remove = $(NF - 1) }
        END { printf "%9d %10d %10.1f %10.1f %14.2f\n", items, open, insert, remove, open * 1000 / items }'
done

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

echo "== tabulon-cli beside cat, sort, grep and sed"
bench/peers.sh "$build"/cli/tabulon-cli "$TABULON_BENCH_DIR"/1000000x10-japanese.csv
