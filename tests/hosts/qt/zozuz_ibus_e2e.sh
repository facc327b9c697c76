#!/usr/bin/env bash
# Chinese typed into zozuz through a real input method: ibus with its libpinyin engine, reached
# through Qt's own ibus input context, on a real X server under a window manager. "zhong" and Space
# commit the first candidate, 中; "wen" and Space commit 文; Shift turns the engine to Latin letters
# and "a" goes through as it is. Ctrl+S and a name typed into the real save dialog must then leave
# exactly the GBK bytes D6 D0 CE C4 61 on disk. The candidate window must open at the caret, which
# the editor reports to the input method. The program, the daemon and the engine see a home of
# their own and a D-Bus session bus of their own, so neither the user's settings nor a running
# desktop's input method take part.
#
# usage: zozuz_ibus_e2e.sh PATH_TO_ZOZUZ   (starts its own X session and bus unless ZOZUZ_X_SESSION
# is set; IBUS_SCREENSHOT=FILE keeps a picture of the screen while the first candidates show)
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  command -v dbus-run-session >/dev/null 2>&1 ||
    { echo "FAIL: dbus-run-session is not installed (scripts/deps.sh installs dbus-daemon)" >&2; exit 1; }
  ZOZUZ_X_SESSION=1 exec "$here/run_in_x_session.sh" dbus-run-session -- "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ}
# Unlike the X server, the input method is no optional extra here: CI installs it with the rest, so
# a missing piece fails the test instead of skipping it.
for tool in xdotool xwininfo ibus ibus-daemon gdbus iconv cmp od; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "FAIL: $tool is not installed (scripts/deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-ibus.XXXXXX")
log="$work/zozuz.log"
ibus_log="$work/ibus.log"
pid=""
ibus_pid=""
# shellcheck source=tests/hosts/qt/e2e_helpers.sh
. "$here/e2e_helpers.sh"

# The daemon starts the panel, the engine and the configuration service, and some of them leave its
# family of processes; all of them inherit this mark, by which they are found again at the end.
ibus_mark="ZOZUZ_IBUS_TEST=$work"
ibus_processes() {
  grep -lsxz -- "$ibus_mark" /proc/[0-9]*/environ 2>/dev/null | sed 's|^/proc/\([0-9]*\)/environ$|\1|'
}
ibus_gone() { [ -z "$(ibus_processes)" ]; }
# The engine saves its user database when the daemon goes away: the home is removed only after it
# has ended.
finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  if [ -n "$ibus_pid" ]; then
    kill "$ibus_pid" 2>/dev/null && wait "$ibus_pid" 2>/dev/null
    pid="" wait_until 5 ibus_gone
    for left in $(ibus_processes); do kill "$left" 2>/dev/null; done
  fi
  rm -rf "$work"
}
trap finish EXIT

# fail_ibus WHAT: fails with the daemon's output too, which tells why the engine did not answer.
fail_ibus() {
  if [ -s "$ibus_log" ]; then
    echo "--- ibus-daemon output ---" >&2
    cat "$ibus_log" >&2
  fi
  fail "$@"
}

export LC_ALL=C.UTF-8
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
# The daemon's and the panel's settings live in memory, so nothing is read from or written to a
# settings service; the panel's GTK asks for no accessibility bus.
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
# The program finds the daemon through the address file it writes under the home above.
export QT_IM_MODULE=ibus
unset IBUS_ADDRESS
# Qt's ibus input context waits for the engine's answer to each key. By default it waits in the
# background, and a key whose answer happens to be in already when it asks goes ahead of the keys
# still waiting: on a busy machine typed names came out as "/mtp/..." for "/tmp/...". Waiting in
# turn keeps the keys in order; the program sees the same input method events either way.
export IBUS_ENABLE_SYNC_MODE=1

# The daemon with its stock panel, which draws the candidate window, and the configuration service
# that keeps settings in memory: the engine waits for one before it starts, and dconf's would need a
# service of its own.
memconf=/usr/libexec/ibus-memconf
[ -x "$memconf" ] || fail "$memconf is missing (package ibus)"
env "$ibus_mark" ibus-daemon --panel=default --config="$memconf" --emoji-extension=disable --cache=refresh \
  >"$ibus_log" 2>&1 &
ibus_pid=$!
daemon_up() { kill -0 "$ibus_pid" 2>/dev/null && ibus address 2>/dev/null | grep -q '^unix:'; }
wait_until 20 daemon_up || fail_ibus "ibus-daemon did not come up within 20 seconds"
# on_ibus_bus NAME: whether a service has joined the daemon's bus. Candidates typed before the panel
# has joined would never be drawn, and an engine started before the configuration service gives up.
on_ibus_bus() {
  gdbus call --address "$(ibus address)" --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}
wait_until 20 on_ibus_bus org.freedesktop.IBus.Panel ||
  fail_ibus "the ibus panel (ibus-ui-gtk3) did not join the daemon within 20 seconds"
wait_until 20 on_ibus_bus org.freedesktop.IBus.Config ||
  fail_ibus "the ibus configuration service ($memconf) did not join the daemon within 20 seconds"
ibus list-engine 2>/dev/null | grep -q '^ *libpinyin ' ||
  fail_ibus "ibus knows no libpinyin engine (package ibus-libpinyin)"

# The engine becomes the global one; its first start sets up its user database in the home.
# (The command's own exit code is no guide: this version of ibus reports failure even when the switch
# went through, so the engine it reports afterwards decides.)
engine_is_pinyin() { timeout 20 ibus engine libpinyin >/dev/null 2>&1; [ "$(ibus engine 2>/dev/null)" = libpinyin ]; }
wait_until 20 engine_is_pinyin || fail_ibus "ibus did not switch to the libpinyin engine within 20 seconds"
echo "ok: ibus-daemon runs with the libpinyin engine"

# The panel's visible windows: the candidate window is the one that shows while a syllable is typed.
panel_windows() {
  local p
  for p in $(ibus_processes); do
    [ "$(cat "/proc/$p/comm" 2>/dev/null)" = ibus-ui-gtk3 ] && xdotool search --all --onlyvisible --pid "$p" 2>/dev/null
  done
}
candidates_show() { [ -n "$(panel_windows)" ]; }
candidates_gone() { [ -z "$(panel_windows)" ]; }

key() { xdotool key --delay 60 "$@"; }

"$zozuz" >"$log" 2>&1 &
pid=$!
await_window zozuz
win=$found
timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
await_active "$win"

folder="$work/files"
mkdir -p "$folder"
file="$folder/chinese.txt"

# The candidates open at the caret, which the editor reports to the input method: on the first line,
# near the window's left edge. (Without the caret's place they would open at the middle of the
# editor's bottom edge.) The panel moves its window after the keys, so the place is waited for; it
# ends in $place as "X Y".
near_caret() {
  local id
  id=$(panel_windows | head -n 1)
  [ -n "$id" ] || return 1
  window_geometry "$id"
  place="$win_x $win_y"
  [ "$win_x" -ge "$main_x" ] && [ "$win_x" -lt $((main_x + main_w / 4)) ] &&
    [ "$win_y" -ge "$main_y" ] && [ "$win_y" -lt $((main_y + main_h / 3)) ]
}

# type_syllable PINYIN: types the syllable, waits for its candidates near the caret, and commits the
# first with Space.
type_syllable() {
  xdotool type --delay 60 "$1"
  wait_until 10 candidates_show ||
    fail_ibus "no candidate window after \"$1\": Qt's ibus input context (libibusplatforminputcontextplugin.so, package libqt6gui6) did not reach the engine"
  place=""
  if wait_until 5 near_caret; then
    echo "ok: the candidates of \"$1\" open near the caret, at ($place) in the window at ($main_x, $main_y)"
  else
    echo "FAIL: the candidates of \"$1\" are at (${place:-none}), not near the caret on the first line of the window at ($main_x, $main_y)" >&2
    failures=$((failures + 1))
  fi
  if [ -n "${IBUS_SCREENSHOT:-}" ]; then
    import -window root "$IBUS_SCREENSHOT"
    IBUS_SCREENSHOT=""
  fi
  key space
  wait_until 10 candidates_gone || fail_ibus "the candidate window of \"$1\" stayed after Space"
}
window_geometry "$win"
main_x=$win_x main_y=$win_y main_w=$win_w main_h=$win_h
type_syllable zhong
type_syllable wen
# Shift alone turns the engine to Latin letters, which go through to the editor as typed; it stays
# so for the name typed into the save dialog.
key shift a

printf '中文a' | iconv -f UTF-8 -t GBK >"$work/expected" || fail "iconv has no GBK"

key ctrl+s
await_window "加密后的文本保存为"
dialog=$found
await_active "$dialog"
sleep 0.3
xdotool type --delay 40 "$folder/chinese"
key Return
await_gone "$dialog"
# A program that ended takes its dialog along: that is no save.
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  status=$?
  pid=""
  fail "zozuz ended with exit status $status while saving"
fi

same_file() { [ -f "$file" ] && cmp -s "$work/expected" "$file"; }
if wait_until 10 same_file; then
  echo "ok: the saved file holds $(od -An -tx1 "$file" | tr -s ' \n' ' ')"
else
  echo "FAIL: the saved file differs" >&2
  echo "  expected: $(od -An -tx1 "$work/expected" | tr -s ' \n' ' ')" >&2
  echo "  on disk:  $( [ -f "$file" ] && od -An -tx1 "$file" | tr -s ' \n' ' ' || echo '(no file)')" >&2
  echo "  files the program wrote: $(find "$work" -newer "$work/expected" -type f ! -name '*.log' | tr '\n' ' ')" >&2
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || fail_ibus "$failures check(s) failed"
echo "中文 typed through ibus-libpinyin and saved as GBK"
