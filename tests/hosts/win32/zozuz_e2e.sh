#!/usr/bin/env bash
# zozuz.exe from start to end under Wine on a real X server with a window manager: the program shows
# one window captioned "zozuz" at the outer bounds 193, 135, 570 x 385, with the editor in its middle,
# keeps the About box hidden, reads to a screen reader (MSAA) with an Encrypt button that works, and closing the window through the window manager (Alt+F4)
# ends it with exit code 0. A screenshot is left in $ZOZUZ_SCREENSHOT when that is set.
#
# usage: zozuz_e2e.sh PATH_TO_ZOZUZ_EXE PATH_TO_LISTWINDOWS_EXE   (inside an X session; Wine answers
# input late, so every wait below is a deadline, not a sleep)
set -u

here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../cmake/wine-run.sh"
zozuz=${1:?usage: $0 ZOZUZ_EXE LISTWINDOWS_EXE}
list=${2:?usage: $0 ZOZUZ_EXE LISTWINDOWS_EXE}
log=$(mktemp "${TMPDIR:-/tmp}/zozuz-e2e.XXXXXX")
pid=""
failures=0

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$log"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$log" ] && { echo "--- zozuz.exe output ---" >&2; cat "$log" >&2; }
  exit 1
}

check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1 is $3"
  else
    echo "FAIL: $1 is $3, expected $2" >&2
    failures=$((failures + 1))
  fi
}

# The program's visible windows as the helper lists them: CAPTION, CLASS, BOUNDS, ENABLED.
windows() { "$wine_run" "$list" 2>/dev/null | tr -d '\r' | awk -F'\t' '$2 == "zozuzWindow"'; }

"$wine_run" "$zozuz" >"$log" 2>&1 &
pid=$!

line=""
for _ in $(seq 300); do
  line=$(windows | awk -F'\t' '$1 == "zozuz"' | head -n 1)
  [ -n "$line" ] && break
  kill -0 "$pid" 2>/dev/null || fail "zozuz.exe ended before it showed its window"
  sleep 0.1
done
[ -n "$line" ] || fail "no visible window captioned zozuz within 30 seconds"

IFS=$'\t' read -r caption class bounds enabled <<<"$line"
check "the caption" "zozuz" "$caption"
check "the outer bounds (left, top, right, bottom)" "193,135,763,520" "$bounds"
check "the window" "enabled" "$enabled"
# The About box exists from the start but stays hidden: the program shows exactly one window.
check "the number of visible windows" "1" "$(windows | wc -l)"

# The middle of the client area is the editor, in the desktop's window colour (white under Wine).
IFS=, read -r left top right bottom <<<"$bounds"
cx=$(((left + right) / 2)); cy=$(((top + bottom) / 2))
pixel=""
for _ in $(seq 50); do
  pixel=$(import -window root -crop "1x1+$cx+$cy" -depth 8 txt:- 2>/dev/null | sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1)
  [ "$pixel" = "#FFFFFF" ] && break
  sleep 0.1
done
check "the colour of the editor in the middle of the window" "#FFFFFF" "$pixel"
[ -n "${ZOZUZ_SCREENSHOT:-}" ] && import -window root "$ZOZUZ_SCREENSHOT" 2>/dev/null && echo "screenshot: $ZOZUZ_SCREENSHOT"

# What a screen reader reads (MSAA, from another process): the tool bar's buttons named by their
# tooltips, the status line, and the editor's line; pressing Encrypt through it encrypts the text,
# after which Decrypt is the enabled one.
controls() { "$wine_run" "$list" controls zozuz 2>/dev/null | tr -d '\r'; }
state_of() { controls | awk -F'\t' -v n="$1" '$1 == "button" && $2 == n { print $3 }'; }
check "the number of tool bar buttons a reader finds (at least 9)" "yes" \
  "$([ "$(controls | awk -F'\t' '$1 == "button"' | wc -l)" -ge 9 ] && echo yes || echo no)"
check "the status line a reader finds" "1" "$(controls | awk -F'\t' '$1 == "statusbar"' | wc -l)"
check "the Encrypt button for a reader" "enabled" "$(state_of 加密)"
win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
if [ -n "$win" ]; then
  timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
  xdotool type --delay 30 "abc def" 2>/dev/null
fi
editor=""
for _ in $(seq 50); do
  editor=$(controls | awk -F'\t' '$1 == "editor" { print $2 }')
  [ "$editor" = "abc def" ] && break
  sleep 0.1
done
check "the editor's line a reader reads" "abc def" "$editor"
"$wine_run" "$list" press zozuz 加密 >/dev/null 2>&1
for _ in $(seq 50); do
  editor=$(controls | awk -F'\t' '$1 == "editor" { print $2 }')
  [ "$editor" != "abc def" ] && break
  sleep 0.1
done
check "the editor's line after a reader pressed Encrypt" "bcd!efg" "$editor"
check "the Decrypt button after Encrypt" "enabled" "$(state_of 解密)"
check "the Encrypt button after Encrypt" "disabled" "$(state_of 加密)"

# Close through the window manager; xdotool matches the ASCII caption (WM_NAME is Latin-1).
win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
if [ -n "$win" ]; then
  timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
  xdotool key --window "$win" alt+F4 2>/dev/null || xdotool key alt+F4
fi
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "zozuz.exe still runs 10 seconds after Alt+F4; asking its window to close instead" >&2
  failures=$((failures + 1))
  "$wine_run" "$list" close zozuz >/dev/null 2>&1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
fi
kill -0 "$pid" 2>/dev/null && fail "zozuz.exe did not end after its window was closed"
wait "$pid"
status=$?
pid=""
check "the exit code" "0" "$status"

[ "$failures" -eq 0 ] || fail "$failures check(s) failed"
echo "zozuz.exe started, showed its window and ended with exit code 0"
