#!/usr/bin/env bash
# Takes the screenshot of the main window that the AppStream metadata shows: starts zozuz in a
# private X session (Xvfb with openbox, as the tests run it), waits until its window is painted and
# saves the window with its frame.
#
# usage: take_screenshot.sh PATH_TO_ZOZUZ OUTPUT.png
# Rerun it whenever the main window changes: packaging/screenshots/take_screenshot.sh build/zozuz packaging/screenshots/main-window.png
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/../../tests/platform/qt/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ OUTPUT.png}
output=${2:?usage: $0 PATH_TO_ZOZUZ OUTPUT.png}

"$zozuz" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

win=""
for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "zozuz ended before it showed its window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$win" ] || { echo "no window captioned zozuz within 20 seconds" >&2; exit 1; }
xdotool windowactivate --sync "$win" >/dev/null 2>&1
# The window manager's frame and the program's first paint come a moment after the window maps.
sleep 2

# The window with its frame: the frame's outer bounds cut from the screen.
info=$(xwininfo -id "$win")
x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
w=$(sed -n 's/^ *Width: *//p' <<<"$info")
h=$(sed -n 's/^ *Height: *//p' <<<"$info")
IFS=, read -r left right top bottom <<<"$(xprop -id "$win" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')"
geometry="$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))"
import -window root -crop "$geometry" +repage -strip "$output"
echo "saved $output ($geometry)"
