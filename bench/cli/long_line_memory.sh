#!/usr/bin/env bash
# Peak memory of zozuz-cli on lines of a gigabyte and more, which must stay under 64 MiB whatever
# the output is: a file (the line's first bytes written again in place at its end), standard output
# redirected to a file, and a pipe (the line waiting in a scratch file). Also checks the bytes.
#
# usage: bench/cli/long_line_memory.sh [SIZE]     (default 1G: one line of SIZE + 1 bytes)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${ZOZUZ_BUILD_DIR:-$root/build}"
size="${1:-1G}"
work="$build/bench-data/long-line"
mkdir -p "$work"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target zozuz-cli >/dev/null
cli="$build/zozuz-cli"
limit_kb=$((64 * 1024))

# One line of SIZE + 1 bytes 'a' without a line break: the first byte is its whole shift window.
line="$work/line.txt"
bytes=$(( $(numfmt --from=iec "$size") + 1 ))
if [ ! -f "$line" ] || [ "$(stat -c %s "$line")" != "$bytes" ]; then
    head -c "$bytes" /dev/zero | tr '\0' 'a' > "$line"
fi
# The same length of zero bytes, sparse, taken byte for byte by decrypt.
zeros="$work/zeros.bin"
rm -f "$zeros"; truncate -s "$bytes" "$zeros"

failed=0
peak() {  # label, command...
    local label="$1"; shift
    /usr/bin/time -f '%M' -o "$work/rss" "$@"
    local kb; kb=$(tail -n 1 "$work/rss")
    printf '%-44s peak %7.1f MiB\n' "$label" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
    [ "$kb" -lt "$limit_kb" ] || { echo "  over the 64 MiB bound"; failed=1; }
}
check() {  # file, expected first byte, expected size
    local first; first=$(head -c 1 "$1" | od -An -tx1 | tr -d ' ')
    if [ "$first" != "$2" ] || [ "$(stat -c %s "$1")" != "$3" ]; then echo "  wrong output: first byte $first"; failed=1; fi
}

echo "== a line of $bytes bytes"
peak "encrypt to a file" "$cli" encrypt "$line" "$work/out"
check "$work/out" 62 "$bytes"
peak "encrypt to standard output (a file)" sh -c "'$cli' encrypt '$line' - > '$work/out'"
check "$work/out" 62 "$bytes"
peak "encrypt to a pipe" sh -c "'$cli' encrypt '$line' - | cat > '$work/out'"
check "$work/out" 62 "$bytes"
peak "decrypt of sparse zero bytes to a file" "$cli" decrypt "$zeros" "$work/out"
check "$work/out" ff "$bytes"
rm -f "$work/out" "$work/rss" "$zeros"
[ "$failed" -eq 0 ] && echo "every run within 64 MiB, every output right" || { echo "FAILED"; exit 1; }
