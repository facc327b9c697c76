#!/usr/bin/env bash
# Prepares the Wine prefix the Windows build's tests run in, outside the tree: a fresh 64-bit prefix
# without the .NET and HTML installers, and font substitutes that map the program's Chinese face
# names to an installed Song face (without them "宋体" resolves to a sans face). Does nothing when
# the prefix is ready already. The prefix is $ZOZUZ_WINEPREFIX, by default ~/.cache/zozuz/wine.
set -euo pipefail
prefix="${ZOZUZ_WINEPREFIX:-$HOME/.cache/zozuz/wine}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
ready="$prefix/.zozuz-ready"
[ -f "$ready" ] && exit 0

mkdir -p "$(dirname "$prefix")"
wineboot -u >/dev/null 2>&1
wineserver -w

# regedit reads .reg files in UTF-16LE with a byte-order mark.
reg=$(mktemp "${TMPDIR:-/tmp}/zozuz-fonts.XXXXXX.reg")
trap 'rm -f "$reg"' EXIT
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"宋体"="AR PL UMing CN"
"新宋体"="AR PL UMing CN"
"SimSun"="AR PL UMing CN"
"NSimSun"="AR PL UMing CN"
"仿宋_GB2312"="AR PL UMing CN"
"仿宋"="AR PL UMing CN"
"FangSong"="AR PL UMing CN"
REG
} >"$reg"
wine regedit /S "$(winepath -w "$reg")"
wineserver -w
touch "$ready"
echo "Wine prefix ready in $prefix" >&2
