# shellcheck shell=bash
# Helpers for the end-to-end scripts that drive zozuz on a real X server (sourced, not run). They
# expect $log (the program's output, shown on failure) and $pid (the program's process, or empty),
# and count failed checks in $failures.

failures=0

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${log:-}" ] && [ -s "$log" ]; then
    echo "--- zozuz output ---" >&2
    cat "$log" >&2
  fi
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

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails when the time is
# up. A program that has ended meanwhile fails at once.
wait_until() {
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    if [ -n "${pid:-}" ] && ! kill -0 "$pid" 2>/dev/null; then
      return 1
    fi
    sleep 0.1
  done
  return 1
}

# The visible window of the program whose caption is exactly CAPTION (its id on stdout), or nothing.
window_named() {
  xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1
}

# await_window CAPTION [SECONDS]: waits until the program shows a window with that caption and sets
# $found to its id; fails the script when none comes.
await_window() {
  found=""
  local tries=$((${2:-20} * 10))
  for _ in $(seq "$tries"); do
    found=$(window_named "$1")
    [ -n "$found" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "zozuz ended while waiting for the window \"$1\""
    sleep 0.1
  done
  fail "no visible window \"$1\" within ${2:-20} seconds"
}

# await_gone WINDOW [SECONDS]: waits until the window is no longer visible.
await_gone() {
  local tries=$((${2:-10} * 10))
  for _ in $(seq "$tries"); do
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  fail "the window $1 still shows after ${2:-10} seconds"
}

# The number of visible windows of the program.
visible_windows() {
  xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l
}

# map_keycodes FIRST TEXT: gives each non-ASCII character of TEXT a keycode of its own, counting up
# from FIRST. xdotool drops such characters in a Qt window when it has to remap a key while typing;
# mapped before the program starts, they type reliably. Keycodes the server holds as modifiers
# (Alt, Meta, Super and the like sit among the high ones) are passed over: a character put there
# would be taken as a modifier and never typed.
map_keycodes() {
  local keycode=$1 ch hex modifiers
  modifiers=" $(xmodmap -pm | grep -o '(0x[0-9a-fA-F]*)' | tr -d '()' | while read -r code; do printf '%d ' "$code"; done)"
  for ch in $(printf '%s' "$2" | grep -o . | grep -v '[ -~]' | sort -u); do
    while [[ $modifiers == *" $keycode "* ]]; do keycode=$((keycode + 1)); done
    [ "$keycode" -le 255 ] || fail "no keycode left for $ch"
    hex=$(printf '%s' "$ch" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n' | sed 's/^0*//')
    xmodmap -e "keycode $keycode = U$hex" || fail "xmodmap could not map $ch to keycode $keycode"
    keycode=$((keycode + 1))
  done
}

pixel_at() {  # pixel_at X Y -> the screen's colour there as #RRGGBB
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# window_geometry WINDOW: sets win_x, win_y (the client area's screen position), win_w and win_h.
window_geometry() {
  local info
  info=$(xwininfo -id "$1")
  win_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  win_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  win_w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  win_h=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

# await_active WINDOW [SECONDS]: waits until the window manager has made the window the active one,
# so that the keys that follow reach it.
await_active() {
  local tries=$((${2:-10} * 10))
  for _ in $(seq "$tries"); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the window $1 did not become active within ${2:-10} seconds"
}
