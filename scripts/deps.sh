#!/usr/bin/env bash
# Installs the Debian packages the build, the program and its tests need, and only those missing.
# Runs apt-get directly as root and through sudo otherwise. With --packaging it also installs what
# building and checking the Debian package needs (scripts/package.sh).
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  desktop-file-utils appstream librsvg2-bin libglib2.0-bin man-db
  qt6-base-dev qt6-translations-l10n libgl-dev libegl-dev libvulkan-dev libxcb1-dev
  xvfb xauth openbox xdotool x11-utils x11-xserver-utils xclip imagemagick libx11-dev poppler-utils
  fonts-wqy-zenhei fonts-arphic-uming
  ibus ibus-libpinyin dbus-daemon time
  at-spi2-core python3-pyatspi
)
if [ "${1:-}" = "--packaging" ]; then
  packages+=(dpkg-dev fakeroot lintian file xz-utils)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
