#!/usr/bin/env bash
# Builds the Windows packages from the cross-build, into its packages/ folder:
#   zozuz-<version>-setup.exe  the setup program (NSIS; packaging/windows/zozuz.nsi)
#   zozuz-<version>-win64.zip  the portable archive: both executables and a short readme
# Installs what is missing first (scripts/deps-windows.sh: mingw-w64, NSIS, ...) and brings the
# cross-build's zozuz.exe and zozuz-cli.exe up to date, configuring the build folder when it is new.
# ZOZUZ_WIN32_BUILD_DIR names the cross-build folder (build-win32 unless set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS

"$root/scripts/deps-windows.sh"

build="${ZOZUZ_WIN32_BUILD_DIR:-$root/build-win32}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target zozuz zozuz-cli -j"$(nproc)"

# The packages carry the executables' own version record: the file version names them.
rc="$root/src/hosts/win32/resources/zozuz.rc"
rc_value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"\r\?$/\1/p" "$rc"; }
version=$(rc_value FileVersion)
product_version=$(rc_value ProductVersion)
company=$(rc_value CompanyName)
project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ -z "$version" ] || [ -z "$product_version" ] || [ -z "$company" ]; then
  echo "could not read the version record from $rc" >&2
  exit 1
fi
if [ "$version" != "$project_version" ]; then
  echo "the executables' file version $version differs from the project's version $project_version" >&2
  exit 1
fi

out="$build/packages"
rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# The build keeps its debugging information; what users get is stripped of it.
bin="$stage/bin"
mkdir "$bin"
for exe in zozuz.exe zozuz-cli.exe; do
  x86_64-w64-mingw32-strip --strip-all -o "$bin/$exe" "$build/$exe"
done

# The picture beside the wizard's first and last page: the About box's picture at twice its size on
# a light panel, as the 24-bit BMP that NSIS takes.
convert -size 164x314 xc:'#DCE6F2' \( "$root/pictures/png/about-64.png" -filter point -resize 200% \) \
  -gravity north -geometry +0+48 -composite -type TrueColor "BMP3:$stage/wizard.bmp"

setup="$out/zozuz-$version-setup.exe"
# makensis reads its command line in the locale's character set: the company name is Chinese.
LC_ALL=C.UTF-8 makensis -V2 -WX -INPUTCHARSET UTF8 \
  "-DVERSION=$version" "-DPRODUCT_VERSION=$product_version" "-DCOMPANY=$company" \
  "-DBIN_DIR=$bin" "-DICON=$root/src/hosts/win32/resources/zozuz.ico" "-DWIZARD_BITMAP=$stage/wizard.bmp" \
  "-DOUT_FILE=$setup" \
  "$root/packaging/windows/zozuz.nsi" >/dev/null

# The portable archive unpacks into a folder of its own. The readme is for Notepad: UTF-8 with a
# byte-order mark (which every Notepad reads as such) and CR LF line breaks.
name="zozuz-$version-win64"
mkdir "$stage/$name"
cp "$bin/zozuz.exe" "$bin/zozuz-cli.exe" "$stage/$name/"
{
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/packaging/windows/readme.txt"
} >"$stage/$name/readme.txt"
(cd "$stage" && cmake -E tar cf "$out/$name.zip" --format=zip "$name")

ls -l "$out"
echo "Windows packages: $((SECONDS - started)) s; they are in $out"
