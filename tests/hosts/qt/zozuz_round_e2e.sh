#!/usr/bin/env bash
# A user's whole round with zozuz on a real X server under a window manager, with real X input:
# type Chinese text, cut and paste it back with Ctrl+X and Ctrl+V, Ctrl+S and a name typed into the real save dialog; Encrypt with a click on its
# toolbar button; Save As over the same name, answering the "Confirm" box with Yes; New, then F12 and
# the same name in the open dialog; Decrypt with a click; Save. After each save the file on disk must equal,
# byte for byte, what zozuz-cli makes of the same text. Then the About box opens from the Help menu
# and closes with Enter, and Exit from the File menu ends the program with exit code 0.
#
# usage: zozuz_round_e2e.sh PATH_TO_ZOZUZ PATH_TO_ZOZUZ_CLI   (starts its own X session unless
# ZOZUZ_X_SESSION is set)
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/run_in_x_session.sh" "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ PATH_TO_ZOZUZ_CLI}
cli=${2:?usage: $0 PATH_TO_ZOZUZ PATH_TO_ZOZUZ_CLI}
for tool in xdotool xmodmap xwininfo import iconv cmp; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed (scripts/deps.sh installs it)" >&2; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-round.XXXXXX")
log="$work/zozuz.log"
pid=""
# shellcheck source=tests/hosts/qt/e2e_helpers.sh
. "$here/e2e_helpers.sh"

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

# xdotool reads its text in the locale's encoding.
export LC_ALL=C.UTF-8
# The program and its dialogs see a home of their own, so the user's folders and the dialogs'
# remembered settings stay out of the test.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME/Documents"

# The text the user types: Chinese, ASCII, a full-width comma and a line break (which the editor
# keeps as CR LF).
line1="青禾加密 test"
line2="你好，世界"
# The top keycodes are unused in this private session.
map_keycodes 240 "$line1$line2"

# What the files must hold: the text as the editor keeps it (GBK, CR LF) and what zozuz-cli makes
# of it.
printf '%s\r\n%s%s' "$line1" "$line2" "$line2" | iconv -f UTF-8 -t GBK >"$work/plain.expected" || fail "iconv has no GBK"
"$cli" encrypt "$work/plain.expected" "$work/encrypted.expected" || fail "zozuz-cli encrypt failed"
"$cli" decrypt "$work/encrypted.expected" "$work/decrypted.expected" || fail "zozuz-cli decrypt failed"
folder="$work/files"
mkdir -p "$folder"
file="$folder/secret.txt"

# same_file EXPECTED: whether the saved file holds exactly those bytes.
same_file() { [ -f "$file" ] && cmp -s "$1" "$file"; }
# check_file WHAT EXPECTED: waits for the file to hold the expected bytes, and says which bytes
# differ when it does not.
check_file() {
  if wait_until 10 same_file "$2"; then
    echo "ok: $1 is byte for byte what zozuz-cli makes"
  else
    echo "FAIL: $1 differs from what zozuz-cli makes" >&2
    echo "  expected: $(od -An -tx1 "$2" | tr -s ' \n' ' ')" >&2
    echo "  on disk:  $( [ -f "$file" ] && od -An -tx1 "$file" | tr -s ' \n' ' ' || echo '(no file)')" >&2
    failures=$((failures + 1))
  fi
}

# open_menu LETTER: Alt and the menu's access key open a menu of the menu bar, a window of its own.
open_menu() {
  key "alt+$1"
  wait_until 5 test "$(visible_windows)" -ge 2 || fail "Alt+$1 opened no menu"
  sleep 0.2
}
# The colour of a point of the main window's client area.
colour_at() {
  window_geometry "$win"
  pixel_at "$((win_x + $1))" "$((win_y + $2))"
}
# click_button NAME X: clicks the toolbar button whose middle is at X, and waits until its picture
# changes: the button greys out once it has run, as Encrypt and Decrypt disable themselves.
click_button() {
  local before
  before=$(colour_at "$2" "$button_y")
  click_at "$2" "$button_y"
  if wait_until 5 test "$(colour_at "$2" "$button_y")" != "$before"; then
    echo "ok: the $1 button greyed out after its click"
  else
    echo "FAIL: the $1 button at $2, $button_y still shows $before after its click" >&2
    failures=$((failures + 1))
  fi
  # The pointer goes back to the editor, which shows no tooltip: a tooltip is a window of the program
  # too, and would be taken for a menu or a dialog.
  window_geometry "$win"
  xdotool mousemove "$((win_x + win_w / 2))" "$((win_y + win_h / 2))"
}

# key KEYS...: real key presses to whatever window has the focus.
key() { xdotool key --delay 60 "$@"; }
# click_at X Y: a real click at a point of the main window's client area.
click_at() {
  window_geometry "$win"
  xdotool mousemove "$((win_x + $1))" "$((win_y + $2))" click 1
}

"$zozuz" >"$log" 2>&1 &
pid=$!
await_window zozuz
win=$found
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
window_geometry "$win"
xdotool mousemove "$((win_x + win_w / 2))" "$((win_y + win_h / 2))"

# The toolbar's row: the editor's white begins below the menu bar and the 30-pixel toolbar; the
# buttons' middle lies 15 pixels above it. Found from the screen, as the menu bar's height is the
# desktop's.
editor_top() {
  window_geometry "$win"
  local column
  column=$(import -window root -crop "1x150+$((win_x + win_w - 30))+$win_y" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,\([0-9]*\):.*\(#[0-9A-Fa-f]\{6\}\).*/\1 \2/p')
  awk '$2 == "#FFFFFF" { print $1; exit }' <<<"$column"
}
top=""
wait_until 10 test -n "$(editor_top)" || fail "the editor's white never showed below the toolbar"
top=$(editor_top)
button_y=$((top - 15))
# Buttons at 5, 28, 51 in steps of 23, separators 8 wide: Encrypt is the tenth place at 190,
# Decrypt the next at 213; each is 23 wide.
encrypt_x=$((190 + 11))
decrypt_x=$((213 + 11))

# 1. Type the text; the editor holds the keyboard from the window's first activation. The second
#    line is cut with Shift+Home and Ctrl+X and pasted back twice with Ctrl+V, so it stands there
#    twice only if the edit commands reached the editor.
xdotool type --delay 60 "$line1"
key Return
xdotool type --delay 60 "$line2"
key shift+Home ctrl+x ctrl+v ctrl+v

# 2. Ctrl+S and a name typed into the real save dialog, as a full path without extension: the
#    default extension makes it secret.txt.
key ctrl+s
await_window "加密后的文本保存为"
dialog=$found
await_active "$dialog"
sleep 0.3
xdotool type --delay 40 "$folder/secret"
key Return
await_gone "$dialog"
check_file "the saved plain text" "$work/plain.expected"

# 3. Encrypt with a click on its toolbar button.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
click_button Encrypt "$encrypt_x"

# 4. Save As (File menu, A) over the same name: the dialog offers the name last chosen in it; the
#    "Confirm" box asks before overwriting, and Enter answers its default button, Yes.
open_menu f
key a
await_window "加密后的文本保存为"
dialog=$found
await_active "$dialog"
sleep 0.3
key Return
await_window Confirm
confirm=$found
await_active "$confirm"
key Return
await_gone "$confirm"
check_file "the encrypted text saved over the same name" "$work/encrypted.expected"

# 5. Ctrl+N empties the editor, so that the text that comes back is the file's; F12 opens the file
#    as an encrypted one, its name typed into the real open dialog.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
key ctrl+n
key F12
# The open dialog keeps the system's own title; it is the program's window that becomes active.
dialog=""
for _ in $(seq 100); do
  active=$(xdotool getactivewindow 2>/dev/null)
  if [ -n "$active" ] && [ "$active" != "$win" ] && [ "$(xdotool getwindowpid "$active" 2>/dev/null)" = "$pid" ]; then
    dialog=$active
    break
  fi
  sleep 0.1
done
[ -n "$dialog" ] || fail "F12 showed no open dialog"
sleep 0.3
key ctrl+a
xdotool type --delay 40 "$file"
key Return
await_gone "$dialog"

# 6. Decrypt with a click, then Save: the dialog offers the name last saved, and Save overwrites
#    without asking.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
click_button Decrypt "$decrypt_x"
key ctrl+s
await_window "加密后的文本保存为"
dialog=$found
await_active "$dialog"
sleep 0.3
key Return
await_gone "$dialog"
check_file "the decrypted text saved again" "$work/decrypted.expected"
check "no other window left open" "1" "$(visible_windows)"

# 7. The About box from the Help menu (Alt+H, A), closed with Enter on its OK button.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
open_menu h
key a
await_window "关于zozuz" 10
about=$found
await_active "$about"
key Return
await_gone "$about"
check "the windows after the About box closed" "1" "$(visible_windows)"

# 8. Exit from the File menu ends the program without a question.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
open_menu f
key x
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "zozuz still runs 10 seconds after Exit"
wait "$pid"
status=$?
pid=""
check "the exit code" "0" "$status"

[ "$failures" -eq 0 ] || fail "$failures check(s) failed"
echo "the whole round: typed, saved, encrypted, saved over, opened, decrypted and saved, byte for byte as zozuz-cli"
