#!/usr/bin/env bash
# The Windows packages under Wine, in a fresh prefix of their own (never the one the other Windows
# tests use), made again on every run:
# - the portable archive holds exactly its folder with both executables and the readme;
# - the setup's version record carries the executables' values;
# - the setup's wizard speaks Chinese on a Chinese system and English on another;
# - the silent setup installs for everyone: the executables (those of the archive) in the
#   program-files folder, the uninstaller's entry with its values, the Start menu shortcut leading
#   to the installed zozuz.exe, and zozuz in "Open with" for .txt files while their default program
#   stays what it was; the installed zozuz.exe shows its window and ends with exit code 0;
# - a second setup replaces the first in place, and the quiet uninstall string removes it all;
# - for the current user alone, into a folder of its own choosing (a Chinese name with a space),
#   a later setup without a folder finds that one, and the uninstaller removes it all again.
# Leaves the wizard's first page in Chinese in $ZOZUZ_SETUP_SCREENSHOT when that is set.
#
# usage: windows_setup_test.sh PACKAGES_FOLDER LISTWINDOWS_EXE   (inside an X session)
# The prefix is $ZOZUZ_SETUP_WINEPREFIX, ~/.cache/zozuz/wine-setup unless set; it is removed again
# when every check passed and kept for a look otherwise.
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
packages=$(cd "${1:?usage: $0 PACKAGES_FOLDER LISTWINDOWS_EXE}" && pwd)
list=$(realpath "${2:?usage: $0 PACKAGES_FOLDER LISTWINDOWS_EXE}")
prefix=${ZOZUZ_SETUP_WINEPREFIX:-$HOME/.cache/zozuz/wine-setup}
# Wine's menu builder stays off: it would copy the shortcuts into this machine's own desktop menus.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=zh_CN.UTF-8
started=$SECONDS
failures=0
work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-setup-test.XXXXXX")
wizard_pid=""

finish() {
  [ -n "$wizard_pid" ] && kill "$wizard_pid" 2>/dev/null && wait "$wizard_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok: $1 is $3"; else fail "$1 is '$3', expected '$2'"; fi
}

setups=("$packages"/zozuz-*-setup.exe)
[ -f "${setups[0]}" ] || { echo "FAIL: no zozuz-<version>-setup.exe in $packages" >&2; exit 1; }
setup=${setups[0]}
version=${setup##*/zozuz-}
version=${version%-setup.exe}
zip="$packages/zozuz-$version-win64.zip"

echo "== The portable archive"
mkdir "$work/portable"
(cd "$work/portable" && cmake -E tar xf "$zip") || fail "$zip does not unpack"
check "the archive's contents" \
  "zozuz-$version-win64/readme.txt zozuz-$version-win64/zozuz-cli.exe zozuz-$version-win64/zozuz.exe" \
  "$(cd "$work/portable" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
portable="$work/portable/zozuz-$version-win64"
# Notepad reads the readme as UTF-8 by its byte-order mark, line by line at CR LF.
check "the readme's first bytes" "efbbbf" "$(head -c 3 "$portable/readme.txt" | od -An -tx1 | tr -d ' \n')"
check "the readme's lines without CR" "0" "$(grep -vc $'\r$' "$portable/readme.txt")"

# A string of a file's version record: the UTF-16 key, its terminator, the padding to a 32-bit
# boundary, then the value up to its terminator.
version_field() {  # version_field FILE NAME
  local file=$1 name=$2 pattern offset value
  pattern="$(printf '%s' "$name" | sed 's/./&\\x00/g')\\x00\\x00"
  offset=$(LC_ALL=C grep -obUaP "$pattern" "$file" | head -n 1 | cut -d: -f1)
  [ -n "$offset" ] || return 0
  value=$(( (offset + 2 * (${#name} + 1) + 3) / 4 * 4 ))
  tail -c +$((value + 1)) "$file" | head -c 512 | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n' | head -n 1
}
echo "== The setup's version record, as the executables' own"
check "zozuz.exe's FileVersion" "$version" "$(version_field "$portable/zozuz.exe" FileVersion)"
for field in FileVersion ProductVersion CompanyName; do
  check "the setup's $field" "$(version_field "$portable/zozuz.exe" $field)" "$(version_field "$setup" $field)"
done

echo "== A fresh Wine prefix: $prefix"
rm -rf "$prefix"
ZOZUZ_WINEPREFIX="$prefix" "$root/scripts/wine-prefix.sh" || { echo "FAIL: the prefix could not be made" >&2; exit 1; }
# One server for all that follows: each Wine process then starts at once.
wineserver -p
profile=$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8)
# As on Windows, .txt files have a default program already; the setup must leave it alone.
wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f /reg:64 >/dev/null
# The setup runs from C:, with its command line as typed at a command prompt: /D= comes last and
# unquoted, which an argument list cannot say of a folder with a space.
mkdir -p "$prefix/drive_c/packages"
cp "$setup" "$prefix/drive_c/packages/"
run_setup() { wine cmd /c "C:\\packages\\${setup##*/} $*"; }

# The values of a registry key as NAME<TAB>VALUE lines, in the registry's 64-bit view, where the
# 64-bit program's entries belong; reg prints in the console's code page.
reg_values() { wine reg query "$1" /reg:64 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 | awk -F'    ' 'NF >= 4 && $1 == "" { print $2 "\t" $4 }'; }
reg_value() { reg_values "$1" | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
reg_default() { wine reg query "$1" /ve /reg:64 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 | awk -F'    ' 'NF >= 4 && $1 == "" { print $4 }'; }
key_exists() { wine reg query "$1" /reg:64 >/dev/null 2>&1; }
unix_path() { winepath -u "$1" 2>/dev/null; }

# The target of a shell shortcut as its link information holds it: the local base path (in the
# ANSI code page) and the common path suffix after it.
shortcut_target() {
  local lnk=$1 flags offset info base suffix
  flags=$(od -An -tu4 -j20 -N4 "$lnk" | tr -d ' ')
  offset=76
  (( flags & 1 )) && offset=$((offset + 2 + $(od -An -tu2 -j76 -N2 "$lnk" | tr -d ' ')))
  (( flags & 2 )) || return 1
  info=$offset
  base=$(od -An -tu4 -j$((info + 16)) -N4 "$lnk" | tr -d ' ')
  suffix=$(od -An -tu4 -j$((info + 24)) -N4 "$lnk" | tr -d ' ')
  { tail -c +$((info + base + 1)) "$lnk" | head -c 260 | tr '\0' '\n' | head -n 1
    tail -c +$((info + suffix + 1)) "$lnk" | head -c 260 | tr '\0' '\n' | head -n 1
  } | tr -d '\n' | iconv -f GBK -t UTF-8
}

# The wizard's first page: its caption in the language of the system the setup finds. The Chinese
# run goes last, so that the prefix ends as the program's users have it.
wizard_caption() {  # wizard_caption LOCALE [SCREENSHOT]
  local line=""
  LC_ALL=$1 wine "$setup" >/dev/null 2>&1 &
  wizard_pid=$!
  for _ in $(seq 200); do
    line=$(wine "$list" 2>/dev/null | tr -d '\r' | awk -F'\t' '$2 == "#32770"' | head -n 1)
    [ -n "$line" ] && break
    sleep 0.1
  done
  if [ -n "$line" ] && [ -n "${2:-}" ]; then
    local left top right bottom
    IFS=, read -r left top right bottom <<<"$(cut -f3 <<<"$line")"
    # The page is drawn in a moment after the window shows.
    sleep 1
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$2" 2>/dev/null &&
      echo "screenshot: $2" >&2
  fi
  kill "$wizard_pid" 2>/dev/null
  wait "$wizard_pid" 2>/dev/null
  wizard_pid=""
  cut -f1 <<<"$line"
}
echo "== The wizard's language"
check "the wizard's caption on an English system" "zozuz $version Setup" "$(wizard_caption C.UTF-8)"
check "the wizard's caption on a Chinese system" "zozuz $version 安装" \
  "$(wizard_caption zh_CN.UTF-8 "${ZOZUZ_SETUP_SCREENSHOT:-}")"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\zozuz'
files=(zozuz.exe zozuz-cli.exe uninstall.exe)

# Checks an installation for everyone (HKLM) or for the current user (HKCU) in the folder FOLDER.
check_installed() {  # check_installed HKLM|HKCU FOLDER START_MENU_FOLDER
  local hive=$1 folder=$2 menu=$3 dir
  dir=$(unix_path "$folder")
  for f in "${files[@]}"; do
    [ -f "$dir/$f" ] || fail "$folder\\$f is missing"
  done
  for f in zozuz.exe zozuz-cli.exe; do
    cmp -s "$dir/$f" "$portable/$f" || fail "$folder\\$f is not the archive's $f"
  done
  local key="$hive\\$uninstall_key" size
  check "DisplayName" "zozuz" "$(reg_value "$key" DisplayName)"
  check "DisplayVersion" "$version" "$(reg_value "$key" DisplayVersion)"
  check "Publisher" "青禾zozuz" "$(reg_value "$key" Publisher)"
  check "DisplayIcon" "$folder\\zozuz.exe" "$(reg_value "$key" DisplayIcon)"
  check "InstallLocation" "$folder" "$(reg_value "$key" InstallLocation)"
  check "UninstallString" "\"$folder\\uninstall.exe\"" "$(reg_value "$key" UninstallString)"
  check "QuietUninstallString" "\"$folder\\uninstall.exe\" /S" "$(reg_value "$key" QuietUninstallString)"
  check "NoModify" "0x1" "$(reg_value "$key" NoModify)"
  check "NoRepair" "0x1" "$(reg_value "$key" NoRepair)"
  # The size in kilobytes of what was installed, give or take the rounding.
  size=$(( $(reg_value "$key" EstimatedSize) ))
  local expected=$(( ($(cat "${files[@]/#/$dir/}" | wc -c) + 1023) / 1024 ))
  [ $((size - expected)) -ge -1 ] && [ $((size - expected)) -le 1 ] && echo "ok: EstimatedSize is $size KB" ||
    fail "EstimatedSize is $size KB, expected about $expected"
  local lnk="$(unix_path "$menu")/zozuz.lnk"
  if [ -f "$lnk" ]; then
    check "the Start menu shortcut's target" "$folder\\zozuz.exe" "$(shortcut_target "$lnk")"
  else
    fail "no Start menu shortcut $menu\\zozuz.lnk"
  fi
  # The desktop shortcut is made only when ticked, which a silent setup does not.
  for desktop in 'C:\users\Public\Desktop' "$profile\Desktop"; do
    [ -e "$(unix_path "$desktop")/zozuz.lnk" ] && fail "a desktop shortcut in $desktop"
  done
  check "zozuz among the .txt alternatives" "zozuz.txt" \
    "$(reg_values "$hive\\Software\\Classes\\.txt\\OpenWithProgids" | cut -f1 | grep -x zozuz.txt)"
  check "the alternative's command" "\"$folder\\zozuz.exe\" \"%1\"" \
    "$(reg_default "$hive\\Software\\Classes\\zozuz.txt\\shell\\open\\command")"
  check "the application's command" "\"$folder\\zozuz.exe\" \"%1\"" \
    "$(reg_default "$hive\\Software\\Classes\\Applications\\zozuz.exe\\shell\\open\\command")"
  check "the name in Open with" "zozuz" "$(reg_value "$hive\\Software\\Classes\\Applications\\zozuz.exe" FriendlyAppName)"
  check "the .txt default program" "txtfile" "$(reg_default 'HKCR\.txt')"
}

# Runs the quiet uninstall string of an installation's entry and waits for the uninstaller, which
# goes on from a copy of itself, to finish: it removes the entry last.
uninstall() {  # uninstall HKLM|HKCU
  local key="$1\\$uninstall_key" command program
  command=$(reg_value "$key" QuietUninstallString)
  program=$(sed -n 's/^"\(.*\)" \/S$/\1/p' <<<"$command")
  [ -n "$program" ] || { fail "the quiet uninstall string '$command' is not \"PROGRAM\" /S"; return; }
  wine "$program" /S || fail "the uninstaller exited with $?"
  for _ in $(seq 300); do
    key_exists "$key" || break
    sleep 0.1
  done
  key_exists "$key" && fail "the uninstaller left its entry $key after 30 seconds"
  # The copy ends a moment after.
  sleep 0.5
}

# Checks that an installation left nothing behind.
check_removed() {  # check_removed HKLM|HKCU FOLDER START_MENU_FOLDER
  local hive=$1 folder=$2 menu=$3
  [ -e "$(unix_path "$folder")" ] && fail "$folder is still there: $(ls -A "$(unix_path "$folder")")"
  [ -e "$(unix_path "$menu")/zozuz.lnk" ] && fail "the Start menu shortcut is still there"
  for key in "$uninstall_key" 'Software\Classes\Applications\zozuz.exe' 'Software\Classes\zozuz.txt' \
             'Software\Classes\.txt\OpenWithProgids'; do
    key_exists "$hive\\$key" && fail "$hive\\$key is still there"
  done
  check "the .txt default program after removal" "txtfile" "$(reg_default 'HKCR\.txt')"
  echo "ok: nothing of the installation in $folder is left"
}

program_files='C:\Program Files\zozuz'
common_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
echo "== Installing for everyone, silently"
run_setup /S; check "the setup's exit code" "0" "$?"
check_installed HKLM "$program_files" "$common_menu"

echo "== The installed zozuz.exe"
"$root/tests/hosts/win32/zozuz_e2e.sh" "$(unix_path "$program_files")/zozuz.exe" "$list" || fail "the installed zozuz.exe"

echo "== Installing again over it"
# A damaged file of the first installation is replaced by the second.
printf 'damaged' >"$(unix_path "$program_files")/zozuz-cli.exe"
run_setup /S; check "the second setup's exit code" "0" "$?"
check_installed HKLM "$program_files" "$common_menu"
check "the folders in Program Files holding zozuz" "zozuz" "$(ls "$(unix_path 'C:\Program Files')" | grep -i zozuz)"

echo "== Uninstalling silently"
uninstall HKLM
check_removed HKLM "$program_files" "$common_menu"

echo "== Installing for the current user into a folder of its own choosing"
user_folder="$profile\\AppData\\Local\\加密 工具"
user_menu="$profile\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
run_setup /S /CurrentUser "/D=$user_folder"; check "the setup's exit code" "0" "$?"
check_installed HKCU "$user_folder" "$user_menu"
key_exists "HKLM\\$uninstall_key" && fail "an installation for the current user made an entry for everyone"
# Without /D= a later setup of the same kind goes where the earlier one is.
run_setup /S /CurrentUser; check "the second setup's exit code" "0" "$?"
check "InstallLocation after the second setup" "$user_folder" "$(reg_value "HKCU\\$uninstall_key" InstallLocation)"
uninstall HKCU
check_removed HKCU "$user_folder" "$user_menu"

echo "Setup checks: $((SECONDS - started)) s"
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; the prefix is kept in $prefix" >&2
  exit 1
fi
wineserver -k 2>/dev/null
rm -rf "$prefix"
echo "the setup installed, ran, reinstalled and uninstalled zozuz cleanly; the archive is complete"
