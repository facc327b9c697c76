#!/usr/bin/env bash
# Speed and memory of zozuz-cli encrypt and of the program's document path (open plain file,
# Encrypt, save) on a generated GBK text, against tr (a plain byte map), dd bs=1M (a plain read and
# write of every byte, the floor for a program that transforms them), cp (a copy the kernel makes
# without reading the bytes out) and
# linecipher (a whole-file C implementation of the same transform, the yardstick).
#
# usage: bench/document/cipher_vs_tools.sh [ROUNDS] [SIZE]     (defaults: 5 rounds, 256M)
# Runs are interleaved, one of each tool per round, each round starting with the next tool; the first round only warms the page cache and is
# not counted. Figures are medians of wall time, cpu time and peak resident memory, and the best wall
# time: on a machine shared with other work the best run is the one least disturbed.
#
# "yard+sync" is the yardstick followed by a flush of its output to the disk: the same durable write
# that the program's save makes, so that the document path can also be compared on equal terms.
#
# "cli" writes its output file as the program saves, to a new file that is flushed to the disk before
# it replaces the old one; "cli-" writes to standard output redirected to a file, as tr does, which
# measures the transform without the flush.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds="${1:-5}"
size="${2:-256M}"
build="${ZOZUZ_BUILD_DIR:-$root/build}"
shared="${ZOZUZ_SHARED_BENCH:-$root/../shared/bench}"
work="$build/bench-data"
mkdir -p "$work" "$build/bench-tools"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target zozuz-cli document_bench >/dev/null
cc -O2 -o "$build/bench-tools/gen_gbk" "$shared/gen_gbk.c"
cc -O2 -o "$build/bench-tools/linecipher" "$shared/linecipher.c"

cli="$build/zozuz-cli"
doc="$build/bench/document_bench"
yard="$build/bench-tools/linecipher"

# Prints "milliseconds peak-kilobytes cpu-milliseconds" for one run of a command: wall time, peak
# resident memory, and user plus system time, which other work on a busy machine disturbs less. The
# dirty pages that earlier runs left are written out first, so that no run pays for another's.
measure() {
    local start end
    sync
    start=$(date +%s%N)
    /usr/bin/time -f '%M %U %S' -o "$work/rss" "$@"
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$work/rss" | awk '{ printf "%d %d", $1, ($2 + $3) * 1000 }')"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_tools() {  # input, label, list of tools
    local input="$1"; shift
    local tool r
    for tool in "$@"; do : > "$work/times.$tool"; done
    local tools=("$@") n=$#
    for ((r = 0; r <= rounds; r++)); do
        # Each round starts with another tool: a run that follows one which freed or dirtied a lot
        # of memory is slowed by the machine, and rotating spreads that over all tools alike.
        local k
        for ((k = 0; k < n; k++)); do
            tool=${tools[$(( (k + r) % n ))]}
            # Every tool writes a new file: replacing the previous round's output would charge the
            # freeing of its pages to whichever tool happens to free them.
            rm -f "$work/out.$tool"
            local m
            case "$tool" in
                cli)  m=$(measure "$cli" encrypt "$input" "$work/out.cli") ;;
                cli-) m=$(measure sh -c "'$cli' encrypt '$input' - > '$work/out.cli-'") ;;
                tr)   m=$(measure sh -c "tr '\\000-\\377' '\\001-\\377\\000' < '$input' > '$work/out.tr'") ;;
                cp)   m=$(measure cp "$input" "$work/out.cp") ;;
                dd)   m=$(measure dd if="$input" of="$work/out.dd" bs=1M status=none) ;;
                yard) m=$(measure "$yard" "$input" "$work/out.yard") ;;
                yard+sync) m=$(measure sh -c "'$yard' '$input' '$work/out.yard+sync' && sync '$work/out.yard+sync'") ;;
                doc)  m=$(measure "$doc" --document-path "$input" "$work/out.doc") ;;
            esac
            [ "$r" -gt 0 ] && echo "$m" >> "$work/times.$tool"
        done
    done
}

figure() { awk '{ print $1 }' "$work/times.$1" | median; }
memory() { awk '{ print $2 }' "$work/times.$1" | median; }
cpu() { awk '{ print $3 }' "$work/times.$1" | median; }
best() { awk '{ print $1 }' "$work/times.$1" | sort -n | head -n 1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

big="$work/gbk-$size.txt"
small="$work/gbk-16M.txt"
[ -f "$big" ] || "$build/bench-tools/gen_gbk" "$big" "$size"
[ -f "$small" ] || "$build/bench-tools/gen_gbk" "$small" 16M
bytes=$(stat -c %s "$big")

echo "== $size GBK text ($bytes bytes), $rounds counted rounds, medians"
run_tools "$big" cli cli- tr cp dd yard yard+sync doc
cmp -s "$work/out.cli" "$work/out.yard" && echo "zozuz-cli output equals the yardstick's" || echo "zozuz-cli output DIFFERS from the yardstick's"
cmp -s "$work/out.doc" "$work/out.cli" && echo "document path output equals zozuz-cli's" || echo "document path output DIFFERS from zozuz-cli's"
printf '%-10s %9s %9s %9s %12s\n' tool "wall ms" "best ms" "cpu ms" "peak MiB"
for tool in cli cli- tr cp dd yard yard+sync doc; do
    printf '%-10s %9s %9s %9s %12s\n' "$tool" "$(figure $tool)" "$(best $tool)" "$(cpu $tool)" \
        "$(awk -v k="$(memory $tool)" 'BEGIN { printf "%.1f", k / 1024 }')"
done
cli_ms=$(figure cli); stdout_ms=$(figure cli-); tr_ms=$(figure tr); cp_ms=$(figure cp); dd_ms=$(figure dd); yard_ms=$(figure yard); doc_ms=$(figure doc)
echo "zozuz-cli / tr          $(ratio "$cli_ms" "$tr_ms")   (target <= 0.75; best runs $(ratio "$(best cli)" "$(best tr)"), cpu time $(ratio "$(cpu cli)" "$(cpu tr)"))"
echo "zozuz-cli / dd          $(ratio "$cli_ms" "$dd_ms")   (aim 1.5: a read/write copy is the floor; cpu time $(ratio "$(cpu cli)" "$(cpu dd)"))"
echo "zozuz-cli / cp          $(ratio "$cli_ms" "$cp_ms")   (cp copies inside the kernel, without a read/write pass)"
echo "zozuz-cli / yardstick   $(ratio "$cli_ms" "$yard_ms")"
echo "zozuz-cli to stdout / tr  $(ratio "$stdout_ms" "$tr_ms")   (without the flush of the safe save)"
echo "zozuz-cli to stdout / cp  $(ratio "$stdout_ms" "$cp_ms")"
echo "zozuz-cli peak memory   $(awk -v k="$(memory cli)" 'BEGIN { printf "%.1f MiB", k / 1024 }')   (target < 64 MiB)"
echo "document / yardstick    $(ratio "$doc_ms" "$yard_ms")   (target <= 1.5; best runs $(ratio "$(best doc)" "$(best yard)"), cpu time $(ratio "$(cpu doc)" "$(cpu yard)"))"
echo "document / (yardstick + flush of its output)  $(ratio "$doc_ms" "$(figure yard+sync)")   (the same durable write on both sides; best runs $(ratio "$(best doc)" "$(best yard+sync)"))"
echo "document peak / file    $(awk -v k="$(memory doc)" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')   (target <= 1.3)"

big_cli_cpu=$(cpu cli); big_doc_cpu=$(cpu doc); big_cli_best=$(best cli); big_doc_best=$(best doc)
echo "== linearity: 16M against $size (median wall, best wall, cpu time)"
run_tools "$small" cli doc
scale=$(awk -v b="$bytes" 'BEGIN { print b / (16 * 1048576) }')
linear() {  # label, small figure, big figure
    echo "$1  16M $2 ms, $size $3 ms: $(ratio "$3" "$(awk -v s="$2" -v f="$scale" 'BEGIN { print s * f }')") x the scaled 16M figure (target <= 1.1)"
}
linear "zozuz-cli      wall" "$(figure cli)" "$cli_ms"
linear "zozuz-cli      best" "$(best cli)" "$big_cli_best"
linear "zozuz-cli      cpu " "$(cpu cli)" "$big_cli_cpu"
linear "document path  wall" "$(figure doc)" "$doc_ms"
linear "document path  best" "$(best doc)" "$big_doc_best"
linear "document path  cpu " "$(cpu doc)" "$big_doc_cpu"
rm -f "$work"/out.* "$work/rss" "$work"/times.*
