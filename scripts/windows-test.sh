#!/usr/bin/env bash
# The Windows build and its tests: installs what is missing (mingw-w64, Wine, the zh_CN.UTF-8 locale,
# a Song face and a legible UI face), prepares the Wine prefix outside the tree, cross-builds
# zozuz.exe and zozuz-cli.exe with their tests into build-win32/, and then, inside a private X
# session (Xvfb with openbox): runs the portable tests and the Windows host's own tests under Wine, the end-to-end check of
# zozuz.exe, and the comparison of zozuz-cli.exe with the Linux zozuz-cli. Then builds the setup
# program and the portable archive and checks them in a Wine prefix of their own.
# The benchmarks and fuzzers are left out: they measure the portable code, which the Linux build covers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS

"$root/scripts/deps-windows.sh"
export ZOZUZ_WINEPREFIX="${ZOZUZ_WINEPREFIX:-$HOME/.cache/zozuz/wine}"
"$root/scripts/wine-prefix.sh"

build="${ZOZUZ_WIN32_BUILD_DIR:-$root/build-win32}"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "Windows build: $((SECONDS - started)) s; zozuz.exe and zozuz-cli.exe are in $build"
# The setup program and the portable archive, into $build/packages.
ZOZUZ_WIN32_BUILD_DIR="$build" "$root/scripts/package-windows.sh"

# The Linux companion the Windows one is compared with.
linux_build="${ZOZUZ_BUILD_DIR:-$root/build}"
if [ ! -x "$linux_build/zozuz-cli" ]; then
  cmake -S "$root" -B "$linux_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$linux_build" -j"$(nproc)" --target zozuz-cli
fi

# Everything under Wine runs in one X session with one wineserver kept running: each Wine process
# then starts in a few hundredths of a second instead of half a second. A first process warms the
# server up (a fresh server sometimes kept a test process from exiting).
cat >"$build/run-windows-tests.sh" <<SCRIPT
#!/usr/bin/env bash
set -u
export WINEPREFIX="$ZOZUZ_WINEPREFIX" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
wineserver -p
trap 'wineserver -k 2>/dev/null' EXIT
"$root/cmake/wine-run.sh" cmd /c ver >/dev/null 2>&1
status=0
( cd "$build" && ctest --output-on-failure --timeout 300 ) || status=1
echo "== zozuz.exe from start to end"
ZOZUZ_SCREENSHOT="$build/zozuz-e2e.png" "$root/tests/hosts/win32/zozuz_e2e.sh" \
  "$build/zozuz.exe" "$build/tests/hosts/win32/ListWindows.exe" || status=1
echo "== zozuz-cli.exe against zozuz-cli"
"$root/tests/cli/cli_matches_windows.sh" "$linux_build/zozuz-cli" "$build/zozuz-cli.exe" || status=1
exit \$status
SCRIPT
chmod +x "$build/run-windows-tests.sh"
# The display densities, on a screen large enough for the window at 200 %, in a session of their own:
# the check changes the prefix's density while it runs.
cat >"$build/run-density-test.sh" <<SCRIPT
#!/usr/bin/env bash
set -u
export WINEPREFIX="$ZOZUZ_WINEPREFIX" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
wineserver -p
trap 'wineserver -k 2>/dev/null' EXIT
echo "== zozuz.exe at 96, 120, 144 and 192 dpi"
"$root/tests/hosts/win32/zozuz_dpi_e2e.sh" "$build/zozuz.exe" "$build/tests/hosts/win32/ListWindows.exe" \
  "$build/screenshots"
SCRIPT
chmod +x "$build/run-density-test.sh"
status=0
"$root/tests/hosts/qt/run_in_x_session.sh" "$build/run-windows-tests.sh" || status=$?
ZOZUZ_X_SCREEN=1920x1200x24 "$root/tests/hosts/qt/run_in_x_session.sh" "$build/run-density-test.sh" || status=1
# The packages, installed, used and removed in a Wine prefix of their own, made afresh.
echo "== The setup program and the portable archive"
ZOZUZ_SETUP_SCREENSHOT="$build/setup-wizard.png" "$root/tests/hosts/qt/run_in_x_session.sh" \
  "$root/tests/packaging/windows_setup_test.sh" "$build/packages" "$build/tests/hosts/win32/ListWindows.exe" || status=1
echo "Windows part: $((SECONDS - started)) s in all"
exit $status
