#!/usr/bin/env bash
# Takes the screenshots of zozuz that the AppStream metadata and the README show: starts the program
# in a private X session (Xvfb with openbox, as the tests run it), types a Chinese poem into the
# editor with real X input, rests the pointer on the Encrypt button so that the status line shows its
# hint, and saves the main window with its frame; with a second file name, it then opens the About box
# from the Help menu and saves that window too.
#
# usage: take_screenshot.sh PATH_TO_ZOZUZ MAIN.png [ABOUT.png]
# Rerun it whenever the windows change (the README shows both pictures):
#   packaging/screenshots/take_screenshot.sh build/zozuz packaging/screenshots/main-window.png docs/about-box.png
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/../../tests/hosts/qt/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ MAIN.png [ABOUT.png]}
main_output=${2:?usage: $0 PATH_TO_ZOZUZ MAIN.png [ABOUT.png]}
about_output=${3:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-screenshot.XXXXXX")
log="$work/zozuz.log"
pid=""
# shellcheck source=tests/hosts/qt/e2e_helpers.sh
. "$here/../../tests/hosts/qt/e2e_helpers.sh"
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; rm -rf "$work"' EXIT

export LC_ALL=C.UTF-8
export HOME="$work/home"
mkdir -p "$HOME"

# Two lines of a Tang poem, each of its characters with a keycode of its own.
line1="春眠不觉晓，处处闻啼鸟。"
line2="夜来风雨声，花落知多少。"
map_keycodes 200 "$line1$line2"

# shot WINDOW OUTPUT: the window with its frame, cut from the screen.
shot() {
  window_geometry "$1"
  local left right top bottom geometry
  IFS=, read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')"
  geometry="$((win_w + left + right))x$((win_h + top + bottom))+$((win_x - left))+$((win_y - top))"
  import -window root -crop "$geometry" +repage -strip "$2" || fail "import could not save $2"
  echo "saved $2 ($geometry)"
}

"$zozuz" >"$log" 2>&1 &
pid=$!
await_window zozuz
win=$found
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
await_active "$win"
sleep 0.5

xdotool type --delay 40 "$line1"
xdotool key Return
xdotool type --delay 40 "$line2"

# The Encrypt button, the tenth place of the toolbar (x 190, 23 wide), whose row ends where the
# editor's white begins.
window_geometry "$win"
top=$(import -window root -crop "1x150+$((win_x + win_w - 30))+$win_y" -depth 8 txt:- 2>/dev/null |
  sed -n 's/^0,\([0-9]*\):.*\(#[0-9A-Fa-f]\{6\}\).*/\1 \2/p' | awk '$2 == "#FFFFFF" { print $1; exit }')
[ -n "$top" ] || fail "the editor's white does not show"
xdotool mousemove "$((win_x + 190 + 11))" "$((win_y + top - 15))"
# The status line takes the hint at the next idle step, the tooltip comes after its pause.
sleep 1.5
shot "$win" "$main_output"

if [ -n "$about_output" ]; then
  xdotool mousemove 5 5
  xdotool key alt+h
  wait_until 5 test "$(visible_windows)" -ge 2 || fail "Alt+H opened no menu"
  sleep 0.2
  xdotool key a
  await_window "关于zozuz"
  about=$found
  await_active "$about"
  sleep 0.5
  shot "$about" "$about_output"
  xdotool key Return
  await_gone "$about"
fi
