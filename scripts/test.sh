#!/usr/bin/env bash
# Builds everything and runs every test. Installs what is missing first.
# The Qt host's end-to-end tests run under Xvfb with a window manager; this script needs no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="${ZOZUZ_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
