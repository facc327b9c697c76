#!/usr/bin/env bash
# The installed program started as the desktop starts it: installs the build into a staging folder,
# hands the installed launcher to `gio launch` on a real X server under a window manager, and checks
# that the staged executable shows its window with the launcher's window class and the installed
# icon, and that the window closes through the window manager.
#
# usage: launch_from_desktop_entry.sh BUILD_FOLDER   (starts its own X session unless ZOZUZ_X_SESSION is set)
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/../hosts/qt/run_in_x_session.sh" "$0" "$@"
fi

build=${1:?usage: $0 BUILD_FOLDER}
work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-launch.XXXXXX")
pid=""
failures=0

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1: got '$3', expected '$2'" >&2
    failures=$((failures + 1))
  fi
}

command -v gio >/dev/null 2>&1 || fail "gio is not installed (scripts/deps.sh installs it)"
stage=$work/stage
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  fail "cmake --install failed"
}
entry=$stage/usr/share/applications/com.example.zozuz.desktop
[ -f "$entry" ] || fail "no launcher was installed"

# The desktop finds the program on the path and the launcher and icon among its data folders.
export PATH="$stage/usr/bin:$PATH"
export XDG_DATA_DIRS="$stage/usr/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
gio launch "$entry" >"$work/launch.log" 2>&1 || {
  cat "$work/launch.log" >&2
  fail "gio launch refused the launcher"
}

win=""
for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no visible window captioned zozuz within 20 seconds of launching"
pid=$(xdotool getwindowpid "$win" 2>/dev/null)
[ -n "$pid" ] || fail "the window names no process"
check "the process behind the window" "$stage/usr/bin/zozuz" "$(readlink "/proc/$pid/exe")"

# The desktop groups the window under its launcher by the window class.
wm_class=$(xprop -id "$win" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\([^"]*\)", "\([^"]*\)"$/\2/p')
check "the window class against the launcher's StartupWMClass" "$(sed -n 's/^StartupWMClass=//p' "$entry")" "$wm_class"

# The icon the window carries is the installed 32 pixel icon, pixel for pixel: the window manager
# gets it as width, height and then one 0xAARRGGBB number for each pixel.
read -r -a numbers <<<"$(xprop -notype -id "$win" 32c _NET_WM_ICON | sed 's/^[^=]*= *//; s/,/ /g')"
window_icon=$(
  for ((i = 2; i < ${#numbers[@]} && i < 2 + numbers[0] * numbers[1]; i++)); do
    printf '%06X\n' $((numbers[i] & 0xFFFFFF))
  done
)
installed_icon=$(convert "$stage/usr/share/icons/hicolor/32x32/apps/zozuz.png" -depth 8 txt:- |
  sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'a-f' 'A-F')
check "the window icon's size" "32 32" "${numbers[0]:-} ${numbers[1]:-}"
if [ -n "$window_icon" ] && [ "$window_icon" = "$installed_icon" ]; then
  echo "ok: the window icon is the installed icon"
else
  echo "FAIL: the window icon differs from the installed 32 pixel icon" >&2
  failures=$((failures + 1))
fi

# Close through the window manager, as a user would.
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
for _attempt in 1 2; do
  xdotool key alt+F4
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break 2
    sleep 0.1
  done
done
kill -0 "$pid" 2>/dev/null && fail "zozuz still runs after its window was closed"
pid=""

[ "$failures" -eq 0 ] || fail "$failures check(s) failed"
echo "the launcher started the installed zozuz, which showed its window and ended"
