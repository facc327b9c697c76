#!/usr/bin/env bash
# How much CPU an idle zozuz uses: starts the program on a virtual X screen with a window manager,
# lets it settle, and measures the CPU time it takes over 5 seconds (user and system time from
# /proc/PID/stat), as a percentage of one core. The target is below 1 %: an idle program sleeps in
# the event loop until the next event and never polls. Exits 1 when the target is missed.
#
# usage: bench/app/idle_cpu.sh [PATH_TO_ZOZUZ]   (default: build/zozuz, then build-qt/zozuz)
set -u

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$repo/tests/hosts/qt/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:-}
if [ -z "$zozuz" ]; then
  for candidate in "$repo/build/zozuz" "$repo/build-qt/zozuz"; do
    [ -x "$candidate" ] && zozuz=$candidate && break
  done
fi
[ -x "$zozuz" ] || { echo "zozuz is not built; give its path" >&2; exit 2; }

seconds=5
"$zozuz" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

win=""
for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "zozuz showed no window" >&2; exit 2; }
# Start-up work (mapping, the first paints, settling into the frame) is not idling.
sleep 1

cpu_ticks() {  # user + system time of the process, in clock ticks (fields 14 and 15)
  # The command name (field 2) may hold spaces; count the fields after its closing parenthesis.
  sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }'
}
ticks_per_second=$(getconf CLK_TCK)
before=$(cpu_ticks)
start=$(date +%s.%N)
sleep "$seconds"
after=$(cpu_ticks)
end=$(date +%s.%N)

percent=$(awk -v t="$((after - before))" -v hz="$ticks_per_second" -v s="$start" -v e="$end" \
  'BEGIN { printf "%.2f", 100 * t / hz / (e - s) }')
echo "idle CPU of zozuz: ${percent} % of one core over ${seconds} s ($((after - before)) ticks of 1/${ticks_per_second} s; target below 1 %)"

# End the program the way a user does, through the window manager.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done

awk -v p="$percent" 'BEGIN { exit !(p < 1) }'
