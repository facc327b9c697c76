#!/usr/bin/env bash
# Kills zozuz-cli with SIGKILL at random moments while it replaces a large file, many times, and
# checks that the file always holds its old text or the new one whole and that no temporary file
# is left in its folder.
#
# usage: bench/cli/kill_during_save.sh [RUNS] [SIZE]     (defaults: 200 runs, 256M)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${ZOZUZ_BUILD_DIR:-$root/build}"
runs="${1:-200}"
size="${2:-256M}"
shared="${ZOZUZ_SHARED_BENCH:-$root/../shared/bench}"
work="$build/bench-data/kill"
mkdir -p "$work" "$build/bench-tools"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target zozuz-cli >/dev/null
cc -O2 -o "$build/bench-tools/gen_gbk" "$shared/gen_gbk.c"
cli="$build/zozuz-cli"

input="$work/in-$size.txt"
[ -f "$input" ] || "$build/bench-tools/gen_gbk" "$input" "$size"
target="$work/folder/out.txt"
rm -rf "$work/folder"; mkdir -p "$work/folder"
# The old text differs from the new in every line; the new is what an undisturbed run writes.
"$cli" decrypt "$input" "$work/old.txt"
"$cli" encrypt "$input" "$work/new.txt"
old_sum=$(md5sum < "$work/old.txt"); new_sum=$(md5sum < "$work/new.txt")
start=$(date +%s%N); "$cli" encrypt "$input" "$target"; took_ms=$(( ($(date +%s%N) - start) / 1000000 ))

old_kept=0; new_whole=0; corrupted=0; left=0
for ((i = 0; i < runs; i++)); do
    cp "$work/old.txt" "$target"
    "$cli" encrypt "$input" "$target" &
    pid=$!
    # A moment anywhere in the run, its very end included.
    sleep "$(awk -v t="$took_ms" -v r="$RANDOM" 'BEGIN { printf "%.3f", t * 1.1 * r / 32768 / 1000 }')"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    sum=$(md5sum < "$target")
    if [ "$sum" = "$old_sum" ]; then old_kept=$((old_kept + 1))
    elif [ "$sum" = "$new_sum" ]; then new_whole=$((new_whole + 1))
    else corrupted=$((corrupted + 1)); fi
    extra=$(( $(ls -A "$work/folder" | wc -l) - 1 ))
    if [ "$extra" -gt 0 ]; then left=$((left + extra)); rm -f "$work/folder"/.zozuz-*; fi
done
echo "kill test: $runs runs on a $size text (an undisturbed run takes $took_ms ms): old text kept $old_kept," \
     "new text complete $new_whole, corrupted $corrupted, temporary files left $left"
rm -rf "$work/folder" "$work/old.txt" "$work/new.txt"
[ "$corrupted" -eq 0 ] && [ "$left" -eq 0 ]
