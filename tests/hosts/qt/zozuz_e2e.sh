#!/usr/bin/env bash
# zozuz from start to end on a real X server under a window manager: the program shows one window
# captioned "zozuz" at the outer bounds 193, 135, 570 x 385 (frame included), Alt+F and Z bring up
# the open dialog, and closing that window through the window manager (Alt+F4) ends the program with
# exit code 0.
#
# usage: zozuz_e2e.sh PATH_TO_ZOZUZ   (starts its own X session unless ZOZUZ_X_SESSION is set)
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ}
log=$(mktemp "${TMPDIR:-/tmp}/zozuz-e2e.XXXXXX")
pid=""
# shellcheck source=tests/hosts/qt/e2e_helpers.sh
. "$here/e2e_helpers.sh"

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$log"
}
trap finish EXIT

"$zozuz" >"$log" 2>&1 &
pid=$!

win=""
for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || fail "zozuz ended before it showed its window"
  sleep 0.1
done
[ -n "$win" ] || fail "no visible window captioned zozuz within 20 seconds"

caption=$(xprop -id "$win" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
check "the caption" "zozuz" "$caption"

# The outer bounds are the client area plus the frame the window manager reports. The frame is
# known to the program only after mapping, so the window may need a moment to settle.
outer=""
for _ in $(seq 100); do
  info=$(xwininfo -id "$win")
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  extents=$(xprop -id "$win" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  if [ -n "$extents" ]; then
    IFS=, read -r left right top bottom <<<"$extents"
    outer="$((x - left)),$((y - top)) $((w + left + right))x$((h + top + bottom))"
    [ "$outer" = "193,135 570x385" ] && break
  fi
  sleep 0.1
done
check "the window's outer bounds" "193,135 570x385" "$outer"

# The window shows its button-face background (F0F0F0) where the toolbar and the status line go,
# and the editor's white between them: the program painted both.
# The top-left corner belongs to the menu bar; the toolbar's row ends in button face at the right,
# and the status line along the bottom is button face inside its sunken frame, right of its text.
points=("$((x + w - 2)) $((y + 35))" "$((x + w - 10)) $((y + h - 9))")
editor_point="$((x + w / 2)) $((y + h / 2))"
for _ in $(seq 50); do  # the first paint may still be on its way
  painted=1
  for point in "${points[@]}"; do
    [ "$(pixel_at $point)" = "#F0F0F0" ] || painted=0
  done
  [ "$(pixel_at $editor_point)" = "#FFFFFF" ] || painted=0
  [ "$painted" -eq 1 ] && break
  sleep 0.1
done
for point in "${points[@]}"; do
  check "the colour at $point" "#F0F0F0" "$(pixel_at $point)"
done
check "the editor's colour at $editor_point" "#FFFFFF" "$(pixel_at $editor_point)"

# The About box exists from the start but stays hidden: the program shows exactly one window.
visible=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
check "the number of visible windows" "1" "$visible"

# The menu bar is the desktop's: Alt+F, resolved by the program, opens the File menu as a window of
# its own, and Esc closes it again.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key alt+f
menus=1
for _ in $(seq 50); do
  menus=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
  [ "$menus" -ge 2 ] && break
  sleep 0.1
done
check "the number of visible windows with the File menu open" "2" "$menus"
xdotool key Escape
for _ in $(seq 50); do
  menus=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
  [ "$menus" -eq 1 ] && break
  sleep 0.1
done

# Z in the open File menu is the key the program gave "打开已加密文件": it opens the open dialog, a
# window of the dialog type (the menu is a window of the program too), and Esc cancels it.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
xdotool key alt+f
sleep 0.5
xdotool key z
dialog=""
for _ in $(seq 50); do
  for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [ "$id" = "$win" ] && continue
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '= _NET_WM_WINDOW_TYPE_DIALOG' && dialog=$id
  done
  [ -n "$dialog" ] && break
  sleep 0.1
done
check "a dialog after Alt+F and Z" "yes" "$([ -n "$dialog" ] && echo yes || echo no)"
if [ -n "$dialog" ]; then
  timeout 5 xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
  xdotool key Escape
  for _ in $(seq 50); do
    menus=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
    [ "$menus" -eq 1 ] && break
    sleep 0.1
  done
  check "the number of visible windows after Esc in the dialog" "1" "$menus"
fi

# Close through the window manager: openbox turns Alt+F4 into a close request to the active window.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
for attempt in 1 2; do
  xdotool key alt+F4
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break 2
    sleep 0.1
  done
  echo "zozuz still runs 5 seconds after Alt+F4 (attempt $attempt)" >&2
done
kill -0 "$pid" 2>/dev/null && fail "zozuz did not end after its window was closed"
wait "$pid"
status=$?
pid=""
check "the exit code" "0" "$status"

[ "$failures" -eq 0 ] || fail "$failures check(s) failed"
echo "zozuz started, showed its window and ended with exit code 0"
