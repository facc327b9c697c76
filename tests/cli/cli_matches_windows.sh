#!/usr/bin/env bash
# zozuz-cli.exe under Wine gives the same bytes as zozuz-cli on Linux for inputs of every kind (every
# byte value, long lines, CR/LF mixtures, lead bytes before line breaks, zero bytes, an empty file),
# through files and through standard input and output, and the same errors and exit codes.
#
# usage: cli_matches_windows.sh PATH_TO_ZOZUZ_CLI PATH_TO_ZOZUZ_CLI_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../cmake/wine-run.sh"
linux=${1:?usage: $0 ZOZUZ_CLI ZOZUZ_CLI_EXE}
windows=${2:?usage: $0 ZOZUZ_CLI ZOZUZ_CLI_EXE}
work=$(mktemp -d "${TMPDIR:-/tmp}/zozuz-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
checks=0

same() {  # same WHAT FILE_A FILE_B
  checks=$((checks + 1))
  if ! cmp -s "$2" "$3"; then
    echo "FAIL: $1 differs ($(cmp "$2" "$3" 2>&1 | head -n 1))" >&2
    failures=$((failures + 1))
  fi
}

# The inputs.
for byte in $(seq 0 255); do printf "\\$(printf '%03o' "$byte")"; done >bytes
for _ in $(seq 64); do cat bytes; done >every-byte
{ head -c $((3 << 20)) /dev/zero | tr '\0' 'x'; printf '\r\n'; head -c 65536 /dev/urandom | tr -d '\0'; } >long-line
printf 'A\r\nB\nC\rD\n\rE\r\r\n\n\r\nF' >breaks
printf '\x81\n\x41\x81\r\n\xfe\r\xfe\n\xd6\xd0\xce\xc4\r\n' >lead-bytes
printf 'before\0after\r\nmore' >zero
: >empty
head -c $((1 << 20)) /dev/urandom >random

for input in every-byte long-line breaks lead-bytes zero empty random; do
  for mode in encrypt decrypt; do
    "$linux" "$mode" "$input" "$input.$mode.linux"; linux_status=$?
    "$wine_run" "$windows" "$mode" "$input" "$input.$mode.windows" 2>/dev/null; windows_status=$?
    checks=$((checks + 1))
    [ "$linux_status" = "$windows_status" ] || { echo "FAIL: $mode $input exits $windows_status, not $linux_status" >&2; failures=$((failures + 1)); }
    same "$mode $input (files)" "$input.$mode.linux" "$input.$mode.windows"
    "$wine_run" "$windows" "$mode" - - <"$input" >"$input.$mode.piped" 2>/dev/null
    same "$mode $input (standard input and output)" "$input.$mode.linux" "$input.$mode.piped"
  done
done

# Errors: the same message and exit code for a missing input, an output in a missing folder and a
# usage mistake (whose first line is the usage).
for args in "encrypt missing.txt out.txt" "decrypt breaks no-such-folder/out.txt" "encrypt" "frobnicate a b"; do
  # shellcheck disable=SC2086
  "$linux" $args >linux.out 2>linux.err; linux_status=$?
  # shellcheck disable=SC2086
  "$wine_run" "$windows" $args >windows.out 2>windows.err; windows_status=$?
  # The message is the program's and must match; a line with the system's own reason may follow,
  # in each system's words.
  head -n 1 linux.err >linux.message
  tr -d '\r' <windows.err | head -n 1 >windows.message
  checks=$((checks + 1))
  [ "$linux_status" = "$windows_status" ] || { echo "FAIL: '$args' exits $windows_status, not $linux_status" >&2; failures=$((failures + 1)); }
  same "the error of '$args'" linux.message windows.message
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
