#!/usr/bin/env bash
# tabulon-cli beside the standard tools doing the same work on the same bytes,
# in one run: the median wall time of five runs each (page cache warm) and the
# peak memory of a load against the file's size. Usage: peers.sh CLI FILE.csv
# (cp932, no quotes, its UTF-8 twin FILE-utf8.csv beside it if there is one).
set -euo pipefail
cli=$1
csv=$2
base=${csv%.csv}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median_ms() {
    local times=()
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

row() {
    printf '%-34s %8s ms   %-28s %8s ms\n' "$1" "$2" "$3" "$4"
}

# A word in about one record of 26 of the generated Japanese tables:
# tabulon-cli takes its arguments in UTF-8, grep and sed need cp932 bytes.
needle=$(printf 電話 | iconv -f utf-8 -t cp932)
replacement=$(printf 通話 | iconv -f utf-8 -t cp932)
"$cli" convert "$csv" "$work/t.tbn"

echo "== $(basename "$csv"): tabulon-cli beside its peer"
load_ms=$(median_ms "$cli" info "$csv")
row "info (load)" "$load_ms" "cat" "$(median_ms cat "$csv")"
# The twin right after its cp932 original, before the runs below fill the
# page cache with the files they write: both loads under the same conditions.
if [ -f "$base-utf8.csv" ]; then
    twin_ms=$(median_ms "$cli" info "$base-utf8.csv")
    row "info on the UTF-8 twin" "$twin_ms" "" ""
    echo "   $(awk -v t="$twin_ms" -v l="$load_ms" 'BEGIN { printf "%.2f", t / l }') x the cp932 load"
fi
row "sort --key 1 --order 0" "$(median_ms "$cli" sort "$csv" "$work/s.csv" --key 1 --order 0)" \
    "LC_ALL=C sort -t, -k2,2 -s" "$(median_ms sh -c "LC_ALL=C sort -t, -k2,2 -s '$csv' > '$work/g.csv'")"
cmp -s "$work/s.csv" "$work/g.csv" && echo "   sort output byte-identical" || echo "   sort output DIFFERS"
row "find 電話 --all" "$(median_ms "$cli" find "$csv" 電話 --all --match-case --match-width)" \
    "grep -c 電話" "$(median_ms grep -c "$needle" "$csv")"
row "replace 電話 通話" "$(median_ms "$cli" replace "$csv" "$work/r.csv" 電話 通話 --match-case --match-width)" \
    "sed s/電話/通話/g" "$(median_ms sh -c "sed 's/$needle/$replacement/g' '$csv' > '$work/e.csv'")"
cmp -s "$work/r.csv" "$work/e.csv" && echo "   replace output byte-identical" || echo "   replace output DIFFERS"
row "convert csv -> tbn" "$(median_ms "$cli" convert "$csv" "$work/c.tbn")" "" ""
row "convert tbn -> csv" "$(median_ms "$cli" convert "$work/t.tbn" "$work/c.csv")" "" ""
size_kb=$(($(stat -c %s "$csv") / 1024))
peak_kb=$(/usr/bin/time -f %M "$cli" info "$csv" 2>&1 > /dev/null | tail -1)
printf 'memory of a load: %d KiB for a file of %d KiB (%s x)\n' "$peak_kb" "$size_kb" \
    "$(awk -v p="$peak_kb" -v s="$size_kb" 'BEGIN { printf "%.2f", p / s }')"
