#!/usr/bin/env bash
# Peak memory of Open plain file against the file's size, which must stay under 3: a file of
# nothing but LF bytes (normalised, every byte doubles and every byte is a line, the worst case for
# the text and its line index together), and for comparison ordinary lines ending in LF and in CR LF.
# Each load runs in a process of its own (document_bench --load), whose peak resident memory
# /usr/bin/time reports; the process's own few megabytes count as well. Takes a few seconds.
#
# usage: bench/document/load_memory.sh [SIZE]     (default 128M)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${ZOZUZ_BUILD_DIR:-$root/build}"
size="${1:-128M}"
work="$build/bench-data/load-memory"
mkdir -p "$work"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target document_bench >/dev/null
bench="$build/bench/document_bench"
bytes=$(numfmt --from=iec "$size")

# Lines of 20 to 60 bytes from a fixed seed, ending in the given break, cut at `bytes`.
lines() {  # break, file
    awk -v seed=7 -v size="$bytes" -v brk="$1" 'BEGIN {
        srand(seed); x = "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
        for (n = 0; n < size; n += len + length(brk)) { len = 20 + int(rand() * 41); printf "%s%s", substr(x, 1, len), brk }
    }' > "$2"
    truncate -s "$bytes" "$2"
}

failed=0
measure() {  # label, file
    local label="$1" file="$2"
    /usr/bin/time -f '%M %e' -o "$work/time" "$bench" --load "$file" > "$work/out"
    read -r kb seconds < "$work/time"
    local ratio; ratio=$(awk -v k="$kb" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')
    printf '%-26s peak %7.1f MiB = %s x the file, %s s (%s)\n' "$label" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" \
        "$ratio" "$seconds" "$(cat "$work/out")"
    awk -v r="$ratio" 'BEGIN { exit !(r < 3) }' || { echo "  at 3 x the file or over"; failed=1; }
}

echo "== Open plain file, $bytes bytes"
head -c "$bytes" /dev/zero | tr '\0' '\n' > "$work/lf.txt"
measure "nothing but LF" "$work/lf.txt"
lines $'\n' "$work/lines-lf.txt"
measure "LF lines of 20-60 bytes" "$work/lines-lf.txt"
lines $'\r\n' "$work/lines-crlf.txt"
measure "CR LF lines of 20-60 bytes" "$work/lines-crlf.txt"
rm -f "$work"/*.txt "$work/time" "$work/out"
[ "$failed" -eq 0 ] && echo "every load under 3 x its file" || { echo "FAILED"; exit 1; }
