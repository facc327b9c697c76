#!/usr/bin/env bash
# Builds the Debian package of zozuz (build-package/packages/zozuz_<version>_<arch>.deb) and checks
# it: lintian reports no error, and the launcher and the metadata inside the package pass their
# validators. Installs what is missing first.
#
# With --try-install (as root, on a machine where zozuz is not installed) it then installs the
# package with apt, checks the installed program, launcher and manual page, removes the package
# again and checks that none of its files is left behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
try_install=0
[ "${1:-}" = "--try-install" ] && try_install=1
"$root/scripts/deps.sh" --packaging

# The package is built with Debian's hardening flags, as Debian's own packages are.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build="$root/build-package"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOZUZ_TESTS=OFF -DZOZUZ_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/packages"
(cd "$build" && cpack >/dev/null)
debs=("$build"/packages/zozuz_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single zozuz package" >&2; exit 1; }
deb=${debs[0]}
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends

echo "== lintian"
# Errors fail the build; warnings and the rest are shown.
lintian --fail-on error --display-level '>=info' "$deb"

echo "== The launcher and the metadata inside the package"
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml

[ "$try_install" -eq 1 ] || exit 0

echo "== Installing, using and removing the package"
if [ "$(id -u)" -ne 0 ]; then echo "--try-install needs root" >&2; exit 1; fi
if dpkg-query -W -f='${Status}' zozuz 2>/dev/null | grep -q "install ok installed"; then
  echo "zozuz is installed on this machine already; its copy is left alone and the trial skipped" >&2
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
# The package's dependencies (the serif font, say) may be missing and the package lists old.
apt-get -o DPkg::Lock::Timeout=600 update -qq
apt-get -o DPkg::Lock::Timeout=600 install -y -qq "$deb" >/dev/null
# However the checks end, the package goes again.
trap 'apt-get -o DPkg::Lock::Timeout=600 remove -y -qq zozuz >/dev/null 2>&1 || true; rm -rf "$contents"' EXIT
files=$(dpkg -L zozuz)
status=0
{ command -v zozuz && zozuz --version && zozuz-cli --version; } || status=1
# The launcher is where the desktop's menu looks, and the icon where the theme looks.
[ -f /usr/share/applications/com.example.zozuz.desktop ] || { echo "no launcher in the menu" >&2; status=1; }
[ -f /usr/share/icons/hicolor/48x48/apps/zozuz.png ] || { echo "no icon in the theme" >&2; status=1; }
man zozuz-cli >"$contents/man.txt" 2>&1 || true
grep -q 'zozuz-cli encrypt' "$contents/man.txt" || { echo "man zozuz-cli shows no page:" >&2; cat "$contents/man.txt" >&2; status=1; }
apt-get -o DPkg::Lock::Timeout=600 remove -y -qq zozuz >/dev/null
left=""
while IFS= read -r path; do
  # Folders the package shares with others stay; any file of its own must be gone.
  if [ -e "$path" ] && [ ! -d "$path" ]; then left+="$path"$'\n'; fi
done <<<"$files"
if [ -n "$left" ]; then
  echo "apt remove left behind:" >&2
  printf '%s' "$left" >&2
  status=1
fi
dpkg-query -W -f='${Status}' zozuz 2>/dev/null | grep -q "install ok installed" && { echo "zozuz is still installed" >&2; status=1; }
[ "$status" -eq 0 ] && echo "installed, used and removed cleanly"
exit "$status"
