#!/usr/bin/env bash
# Installs a build into a staging folder the way a package build does (DESTDIR, prefix /usr) and
# checks every file that lands there: the list is exactly the expected one, and each file is what
# it says it is (the executables answer, the launcher and the metadata pass their validators, the
# icons are the program's picture at their sizes, the manual pages render without a warning).
#
# usage: installed_files.sh BUILD_FOLDER VERSION desktop|cli
set -u

build=${1:?usage: $0 BUILD_FOLDER VERSION desktop|cli}
version=${2:?usage: $0 BUILD_FOLDER VERSION desktop|cli}
kind=${3:?usage: $0 BUILD_FOLDER VERSION desktop|cli}

work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/stage
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok: $1"; else fail "$1: got '$3', expected '$2'"; fi
}

if ! DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi

# The installed files, exactly.
app=com.example.zozuz
sizes=(16 22 24 32 48 64 128 256)
expected=(
  usr/bin/zozuz-cli
  usr/share/man/man1/zozuz-cli.1.gz
  usr/share/doc/zozuz/copyright
  usr/share/doc/zozuz/changelog.gz
)
if [ "$kind" = desktop ]; then
  expected+=(
    usr/bin/zozuz
    usr/share/man/man1/zozuz.1.gz
    usr/share/applications/$app.desktop
    usr/share/metainfo/$app.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/zozuz.svg
  )
  for size in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${size}x${size}/apps/zozuz.png"); done
fi
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
(cd "$stage" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed"
if diff -u "$work/expected" "$work/installed" >"$work/diff"; then
  echo "ok: the $(wc -l <"$work/installed") installed files are the expected ones"
else
  fail "the installed files differ from the expected ones (- missing, + unexpected):"
  sed -n '3,$p' "$work/diff" | grep '^[-+]' >&2
fi
bad_modes=$(cd "$stage" && find . -type f \( -path './usr/bin/*' ! -perm 0755 -o ! -path './usr/bin/*' ! -perm 0644 \))
check "the executables are mode 755 and the other files 644" "" "$bad_modes"

# The executables answer without a display.
cli=$stage/usr/bin/zozuz-cli
check "zozuz-cli --version" "zozuz-cli $version (product version 1.0.0.0)" "$(env -u DISPLAY "$cli" --version)"
printf 'ab\r\ncd' >"$work/plain.txt"
if "$cli" encrypt "$work/plain.txt" "$work/secret.txt" && "$cli" decrypt - - <"$work/secret.txt" >"$work/again.txt"; then
  cmp -s "$work/plain.txt" "$work/secret.txt" && fail "zozuz-cli encrypt left the text as it was"
  cmp -s "$work/plain.txt" "$work/again.txt" || fail "zozuz-cli decrypt did not give back the plain text"
  echo "ok: the installed zozuz-cli encrypts and decrypts"
else
  fail "the installed zozuz-cli failed on a small text"
fi
if [ "$kind" = desktop ]; then
  check "zozuz --version" "zozuz $version (product version 1.0.0.0)" "$(env -u DISPLAY -u WAYLAND_DISPLAY "$stage/usr/bin/zozuz" --version)"
fi

# The manual pages render without a warning and hold what a reader looks for.
man_page() {  # man_page NAME SECTION-HEADING...
  local page=$stage/usr/share/man/man1/$1.1.gz name=$1
  shift
  if ! gzip -t "$page" 2>/dev/null; then
    fail "$name.1.gz is not a sound gzip file"
    return
  fi
  local warnings
  warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  check "$name.1 renders without warnings" "" "$warnings"
  zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -rLL=100n -P-cbou 2>/dev/null >"$work/$name.txt"
  for heading in NAME SYNOPSIS "$@"; do
    grep -q "^$heading" "$work/$name.txt" || fail "$name.1 has no $heading section"
  done
  grep -q "zozuz $version" "$work/$name.txt" || fail "$name.1 does not name version $version"
}
man_page zozuz-cli DESCRIPTION COMMANDS "EXIT STATUS" DIAGNOSTICS EXAMPLES
for code in "0" "1" "2" "128 \\+ n"; do
  grep -Eq "^ +$code( +[A-Z]|\$)" "$work/zozuz-cli.txt" || fail "zozuz-cli.1 does not explain exit code $code"
done
grep -q -- 'zozuz-cli encrypt - -' "$work/zozuz-cli.txt" || fail "zozuz-cli.1 shows no example with -"
[ "$kind" = desktop ] && man_page zozuz DESCRIPTION OPTIONS

# The package's papers.
doc=$stage/usr/share/doc/zozuz
grep -q '^Copyright' "$doc/copyright" || fail "the copyright file holds no copyright line"
check "the changelog's latest entry" "zozuz ($version) unstable; urgency=medium" "$(zcat "$doc/changelog.gz" | head -n 1)"

[ "$kind" = desktop ] || { [ "$failures" -eq 0 ] && echo "all installed files check out" && exit 0; exit 1; }

# The launcher: valid, starting the installed program with no arguments, with the installed icon.
desktop=$stage/usr/share/applications/$app.desktop
if desktop-file-validate "$desktop" >"$work/validate.log" 2>&1; then
  echo "ok: desktop-file-validate accepts the launcher"
  grep -E ': (error|warning):' "$work/validate.log" >&2 && fail "desktop-file-validate reports problems"
else
  cat "$work/validate.log" >&2
  fail "desktop-file-validate rejects the launcher"
fi
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "the launcher's Exec" "zozuz" "$(entry Exec)"
check "the launcher's Icon" "zozuz" "$(entry Icon)"
check "the launcher's Name" "zozuz" "$(entry Name)"
check "the launcher's Categories" "Utility;TextEditor;Security;" "$(entry Categories)"
[ -n "$(entry 'Name\[zh_CN\]')" ] || fail "the launcher has no Simplified Chinese name"
[ -n "$(entry 'Comment\[zh_CN\]')" ] || fail "the launcher has no Simplified Chinese comment"
grep -q '^MimeType=' "$desktop" && fail "the launcher claims file types the program cannot open"

# The metadata: valid, naming the launcher and this release.
metainfo=$stage/usr/share/metainfo/$app.metainfo.xml
if appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1; then
  echo "ok: appstreamcli accepts the metadata"
else
  cat "$work/appstream.log" >&2
  fail "appstreamcli rejects the metadata"
fi
check "the metadata's id" "$app" "$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")"
check "the metadata's launcher" "$app.desktop" "$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")"
check "the metadata's release" "$version" "$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo")"

# The icons: sound PNG files of their sizes showing the program's picture, frames one sixteenth of
# the size wide (at least one pixel) from red outermost to magenta, with red in the middle; and the
# SVG drawn at each size that is a multiple of 16 is the PNG of that size, pixel for pixel.
icons=$stage/usr/share/icons/hicolor
frames=(FF0000 FFFF00 00FF00 00FFFF 0000FF FF00FF)
pixel_at() {  # pixel_at FILE X Y -> RRGGBB
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}
for size in "${sizes[@]}"; do
  png=$icons/${size}x${size}/apps/zozuz.png
  [ -f "$png" ] || continue
  if ! convert "$png" -depth 8 rgb:- >/dev/null 2>"$work/decode.log" || [ -s "$work/decode.log" ]; then
    cat "$work/decode.log" >&2
    fail "the ${size} pixel icon does not decode cleanly"
    continue
  fi
  before=$failures
  check_quietly() { [ "$2" = "$3" ] || fail "$1: got '$3', expected '$2'"; }
  check_quietly "the ${size} pixel icon's format and size" "PNG $size $size" "$(identify -format '%m %w %h' "$png")"
  width=$((size / 16 > 0 ? size / 16 : 1))
  for i in "${!frames[@]}"; do
    at=$((i * width))
    check_quietly "the ${size} pixel icon's frame $i" "${frames[$i]}" "$(pixel_at "$png" "$at" "$at")"
  done
  check_quietly "the ${size} pixel icon's middle" "FF0000" "$(pixel_at "$png" $((size / 2)) $((size / 2)))"
  if [ $((size % 16)) -eq 0 ]; then
    rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/zozuz.svg" -o "$work/svg-$size.png"
    differing=$(compare -metric AE -alpha off "$work/svg-$size.png" "$png" null: 2>&1)
    check_quietly "the SVG drawn at $size pixels against the PNG (differing pixels)" "0" "$differing"
  fi
  [ "$failures" -eq "$before" ] && echo "ok: the ${size} pixel icon"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all installed files check out"
