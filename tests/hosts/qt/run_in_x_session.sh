#!/usr/bin/env bash
# Runs a command inside a private X session: a virtual screen (Xvfb) on a display nobody else uses,
# with the openbox window manager, and takes both down again however the command ends. The command's
# exit code is this script's. Exits 77 (reported by CTest as a skip) only when Xvfb is not
# installed; scripts/deps.sh installs it. ZOZUZ_X_SCREEN sets the screen (WIDTHxHEIGHTxDEPTH,
# 1024x768x24 unless set).
set -u

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGUMENT...]" >&2
  exit 2
fi
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIP: Xvfb is not installed, so there is no X server to test on (scripts/deps.sh installs it)" >&2
  exit 77
fi
if ! command -v openbox >/dev/null 2>&1; then
  echo "openbox is not installed (scripts/deps.sh installs it)" >&2
  exit 1
fi

workdir=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-x.XXXXXX")
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display number itself and writes it to the descriptor it is given, so that
# sessions started side by side never meet.
Xvfb -displayfd 3 -screen 0 "${ZOZUZ_X_SCREEN:-1024x768x24}" -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$workdir/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$workdir/display" 2>/dev/null)
if [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$workdir/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"
# The display number may come before the server takes connections; on a busy machine that gap is
# long enough for the window manager to miss it.
for _ in $(seq 100); do
  xprop -root >/dev/null 2>&1 && break
  sleep 0.1
done
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# The window manager runs with its stock configuration (Alt+F4 closes), whatever the user's own is.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _attempt in 1 2 3; do
  XDG_CONFIG_HOME="$workdir" openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    wm_running && break
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  wm_running && break
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
  wm_pid=""
done
if ! wm_running; then
  echo "openbox did not start on $DISPLAY:" >&2
  cat "$workdir/openbox.log" "$workdir/xvfb.log" >&2
  exit 1
fi

"$@"
