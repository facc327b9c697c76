#!/usr/bin/env bash
# zozuz.exe at the display densities Windows laptops ship with: for each LogPixels setting the program
# starts, types a line into its editor and is photographed. Its stored 96-dpi layout must come out
# scaled by the density (the main window 1.25, 1.5 and 2 times as wide as at 96, within a few pixels),
# drawn by the program itself rather than stretched by the system. The screenshots are left in
# OUTDIR as zozuz-dpi-<dpi>.png, cropped to the window.
#
# usage: zozuz_dpi_e2e.sh ZOZUZ_EXE LISTWINDOWS_EXE OUTDIR   (inside an X session of at least
# 1600 x 1100; the prefix's LogPixels is put back to 96 however the script ends)
set -u

here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../cmake/wine-run.sh"
zozuz=${1:?usage: $0 ZOZUZ_EXE LISTWINDOWS_EXE OUTDIR}
list=${2:?usage: $0 ZOZUZ_EXE LISTWINDOWS_EXE OUTDIR}
outdir=${3:?usage: $0 ZOZUZ_EXE LISTWINDOWS_EXE OUTDIR}
mkdir -p "$outdir"
pid=""
failures=0

# Wine reads the density from the user's desktop settings, and from the current configuration's
# fonts key where a program looks it up there; each new process takes it at its start.
set_density() {
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$wine_run" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  set_density 96
}
trap finish EXIT

bounds_of_zozuz() {
  "$wine_run" "$list" 2>/dev/null | tr -d '\r' | awk -F'\t' '$1 == "zozuz" && $2 == "zozuzWindow" {print $3}' | head -n 1
}

width_at() {  # width_at DPI: starts zozuz.exe, prints its window's width, leaves a screenshot
  local dpi=$1 bounds="" left top right bottom
  set_density "$dpi"
  "$wine_run" "$zozuz" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 300); do
    bounds=$(bounds_of_zozuz)
    [ -n "$bounds" ] && break
    sleep 0.1
  done
  if [ -z "$bounds" ]; then
    echo "FAIL: no zozuz window at $dpi dpi within 30 seconds" >&2
    return 1
  fi
  IFS=, read -r left top right bottom <<<"$bounds"
  # A line of text in the editor, typed into the window that has the keyboard.
  local win
  win=$(xdotool search --onlyvisible --name '^zozuz$' 2>/dev/null | head -n 1)
  if [ -n "$win" ]; then
    timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1
    xdotool type --delay 30 "Hello, zozuz 1.5x" 2>/dev/null
  fi
  sleep 1
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$outdir/zozuz-dpi-$dpi.png" 2>/dev/null
  "$wine_run" "$list" close zozuz >/dev/null 2>&1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  echo "$((right - left))"
}

base=$(width_at 96) || exit 1
echo "ok: at 96 dpi the window is $base pixels wide"
for row in "120 125" "144 150" "192 200"; do
  read -r dpi percent <<<"$row"
  width=$(width_at "$dpi") || { failures=$((failures + 1)); continue; }
  expected=$((base * percent / 100))
  if [ $((width - expected)) -ge -3 ] && [ $((width - expected)) -le 3 ]; then
    echo "ok: at $dpi dpi the window is $width pixels wide ($percent % of $base)"
  else
    echo "FAIL: at $dpi dpi the window is $width pixels wide, expected about $expected" >&2
    failures=$((failures + 1))
  fi
done
echo "screenshots: $outdir/zozuz-dpi-*.png"
[ "$failures" -eq 0 ] || { echo "FAIL: $failures density check(s) failed" >&2; exit 1; }
echo "zozuz.exe lays its window out at every density"
