#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its tests under Wine need, and only those
# missing: the mingw-w64 cross compilers, Wine (64-bit), GoogleTest's source (built for Windows),
# the zh_CN.UTF-8 locale (Wine takes the ANSI code page 936 from it), a Song face for "宋体", a sans
# face that stays legible at 12 pixels for Wine's menus and boxes, the X tools of the end-to-end
# check, and NSIS for the setup program. Runs apt-get directly as root and through sudo otherwise.
#
# Wine's 32-bit half (wine32:i386) is left out on purpose: once it is installed, Debian's wine starts
# every program through the 32-bit loader, and a prefix made without it no longer starts even a
# 64-bit one ("could not load kernel32.dll"). Everything here, the setup program included, is 64-bit.
set -euo pipefail

packages=(
  cmake g++-mingw-w64-x86-64-posix googletest
  wine wine64 locales fonts-arphic-uming fonts-wqy-zenhei fonts-wqy-microhei
  xvfb xauth openbox xdotool x11-utils imagemagick nsis
)

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
  echo "Generating the zh_CN.UTF-8 locale" >&2
  "${sudo[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
