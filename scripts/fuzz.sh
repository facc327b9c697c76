#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
"$root/scripts/deps.sh"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOZUZ_FUZZ=ON \
  -DZOZUZ_WITH_QT=OFF -DZOZUZ_TESTS=OFF -DZOZUZ_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
shopt -s nullglob
status=0
for fuzzer in "$build"/fuzz/*_fuzz; do
  name=$(basename "$fuzzer")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "-- $name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 "$corpus" \
      > "$build/$name.log" 2>&1; then
    tail -n 60 "$build/$name.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$build/$name.log" | tail -n 2 || true
  fi
done
exit $status
