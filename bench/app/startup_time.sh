#!/usr/bin/env bash
# Start-up of zozuz to its first painted main window, measured from the process start on a virtual X
# screen with a window manager: first_paint_probe starts the program RUNS times (default 11), watches
# the screen until the window shows its toolbar row, status line and editor, and prints each run and
# the median. The target is a median under 300 ms. Exits 1 when the target is missed.
#
# usage: bench/app/startup_time.sh [PATH_TO_ZOZUZ [RUNS]]   (default: build/zozuz)
set -u

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$repo/tests/hosts/qt/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:-}
runs=${2:-11}
if [ -z "$zozuz" ]; then
  for candidate in "$repo/build/zozuz" "$repo/build-qt/zozuz"; do
    [ -x "$candidate" ] && zozuz=$candidate && break
  done
fi
[ -x "$zozuz" ] || { echo "zozuz is not built; give its path" >&2; exit 2; }
probe="$(dirname "$zozuz")/bench/first_paint_probe"
[ -x "$probe" ] || { echo "$probe is not built (cmake --build build --target first_paint_probe)" >&2; exit 2; }

out=$("$probe" "$zozuz" "$runs") || { echo "$out"; exit 2; }
echo "$out"
median=$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' <<<"$out")
echo "target: median under 300 ms"
awk -v m="$median" 'BEGIN { exit !(m < 300) }'
