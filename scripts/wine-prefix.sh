#!/usr/bin/env bash
# Prepares the Wine prefix the Windows build's tests run in, outside the tree: a fresh 64-bit prefix
# without the .NET and HTML installers, font substitutes that map the program's Chinese face names to
# an installed Song face (without them "宋体" resolves to a sans face), and legible faces for what Wine
# draws itself (menus, message boxes, dialogs, captions): left alone, Wine finds WenQuanYi Zen Hei for
# them, whose hinting table asks for plain black-and-white pixels from 9 to 16 pixels, so its 12-pixel
# text loses strokes; WenQuanYi Micro Hei is drawn smoothed at every size. The prefix is $ZOZUZ_WINEPREFIX, by default ~/.cache/zozuz/wine.
#
# Does nothing when the prefix is ready with these settings already; the marker file holds a hash of
# them, so a prefix made by an older version of this script takes the new settings on its next run.
set -euo pipefail
prefix="${ZOZUZ_WINEPREFIX:-$HOME/.cache/zozuz/wine}"
# The .NET and HTML installers stay off, and so does Wine's menu builder: it would copy the prefix's
# menus and file types into this machine's own desktop.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=zh_CN.UTF-8
ready="$prefix/.zozuz-ready"

# The faces Wine's own drawing asks for: the non-client metrics (menus, message boxes, captions and
# status text) name "MS Shell Dlg" at 12 pixels in GB2312, dialog templates "MS Shell Dlg" or
# "MS Shell Dlg 2", and the font links of the Chinese system faces Microsoft YaHei. The program's
# own faces, the Song faces above all (the editor's "宋体"), keep their Song stand-in.
ui_face="WenQuanYi Micro Hei"
settings=$(cat <<REG
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"宋体"="AR PL UMing CN"
"新宋体"="AR PL UMing CN"
"SimSun"="AR PL UMing CN"
"NSimSun"="AR PL UMing CN"
"仿宋_GB2312"="AR PL UMing CN"
"仿宋"="AR PL UMing CN"
"FangSong"="AR PL UMing CN"
"MS Shell Dlg"="$ui_face"
"MS Shell Dlg 2"="$ui_face"
"Microsoft YaHei"="$ui_face"
"Microsoft YaHei UI"="$ui_face"
"微软雅黑"="$ui_face"
"黑体"="$ui_face"
"SimHei"="$ui_face"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"FontSmoothing"="2"
"FontSmoothingType"=dword:00000001
"FontSmoothingGamma"=dword:00000578
"FontSmoothingOrientation"=dword:00000001
REG
)
version=$(printf '%s' "$settings" | sha256sum | cut -c1-16)
[ -f "$ready" ] && [ "$(cat "$ready")" = "$version" ] && exit 0

mkdir -p "$(dirname "$prefix")"
# A prefix that was never ready is made (or finished) first; a ready one only takes the settings.
if [ ! -f "$ready" ]; then
  wineboot -u >/dev/null 2>&1
  wineserver -w
fi

# regedit reads .reg files in UTF-16LE with a byte-order mark.
reg=$(mktemp "${TMPDIR:-/tmp}/zozuz-fonts.XXXXXX.reg")
trap 'rm -f "$reg"' EXIT
{
  printf '\xff\xfe'
  printf '%s\n' "$settings" | iconv -f UTF-8 -t UTF-16LE
} >"$reg"
wine regedit /S "$(winepath -w "$reg")"
wineserver -w
printf '%s\n' "$version" >"$ready"
echo "Wine prefix ready in $prefix" >&2
