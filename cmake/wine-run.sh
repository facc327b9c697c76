#!/usr/bin/env bash
# Runs a Windows executable under Wine as the program's users see it: the ANSI code page 936 (Wine
# takes it from the Unix locale) and the prefix that scripts/wine-prefix.sh prepares, with the
# Chinese font substitutes. Used by CTest for the Windows build; the prefix lies outside the tree.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${ZOZUZ_WINEPREFIX:-$HOME/.cache/zozuz/wine}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
exec wine "$@"
