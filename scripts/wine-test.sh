#!/usr/bin/env bash
# Runs one Windows test program under 64-bit Wine in a world of its own, so tests can run side
# by side: a copy of the build's prefix (its own registry), its own wineserver and its own
# Xvfb display (its own desktop, foreground, focus and top-level windows). CTest uses it as
# the emulator of every Windows test.
#   wine-test.sh [--own-bin] [--faketime [--fake-monotonic]] program.exe [args...]
#     --own-bin   the test sees a copy of the install directory (ZENTARO_BIN_DIR), so what it
#                 writes beside the programs (stop.ini, folders) stays its own
#     --faketime  every process of the test runs under libfaketime, reading the shift of the
#                 wall clock from the file named by FAKETIME_TIMESTAMP_FILE ("+0" at first);
#                 the monotonic clock stays real. A test moves the wall clock by rewriting
#                 the file (driver::ShiftWallClock).
#     --fake-monotonic  the shift moves the monotonic clocks too (only ever forward: time that
#                 passed while the computer slept)
# The template prefix is build/<preset>/wineprefix, made once (wine-prefix.sh). The copy
# shares the template's files by hard links except those Wine or a test may write in place.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
own_bin=0 fake_time=0 fake_monotonic=0
while [ $# -gt 0 ]; do
  case $1 in
    --own-bin) own_bin=1; shift ;;
    --faketime) fake_time=1; shift ;;
    --fake-monotonic) fake_monotonic=1; shift ;;
    *) break ;;
  esac
done
program=$1
shift
bin=$(cd "$(dirname "$program")" && pwd)
build=$(dirname "$bin")
template=$build/wineprefix

export WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
"$here/wine-prefix.sh" "$template"

mkdir -p "$build/test-runs"
work=$(mktemp -d "$build/test-runs/$(basename "$program" .exe).XXXXXX")
xvfb_pid=""
cleanup() {
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# A file shared by hard link must never be written in place: give the copy its own registry
# files and INI files (Wine replaces a registry file by renaming, but a test may not).
copy_tree() {
  cp -al "$1" "$2"
  find "$2" -type f \( -name '*.reg' -o -name '*.ini' -o -name '*.INI' \) -print0 |
    while IFS= read -r -d '' f; do cp --remove-destination "$(readlink -f "$f")" "$f.copy" && mv "$f.copy" "$f"; done
}
copy_tree "$template" "$work/prefix"
export WINEPREFIX=$work/prefix

if [ "$own_bin" = 1 ]; then
  # The programs are shared by hard link; every other file (pictures, skins, stop.ini) is a
  # copy, so that a test that writes beside the programs writes into its own folder.
  cp -al "$bin" "$work/bin"
  find "$work/bin" -type f ! -name '*.exe' ! -name '*.debug' -print0 |
    while IFS= read -r -d '' f; do cp "$f" "$f.copy" && mv "$f.copy" "$f"; done
  export ZENTARO_BIN_DIR="Z:$work/bin"
fi

if [ "$fake_time" = 1 ]; then
  lib=$(ls /usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 2>/dev/null || true)
  [ -n "$lib" ] || { echo "wine-test: libfaketime is missing (Debian package faketime)" >&2; exit 2; }
  echo "+0" >"$work/faketime"
  export LD_PRELOAD=$lib FAKETIME_TIMESTAMP_FILE=$work/faketime FAKETIME_NO_CACHE=1
  [ "$fake_monotonic" = 1 ] || export FAKETIME_DONT_FAKE_MONOTONIC=1
fi

unset DISPLAY
# shellcheck source=xvfb.sh
source "$here/xvfb.sh"
start_private_xvfb
xvfb_pid=$XVFB_PID

# The server lingers a few seconds after its last program, so a test killed at its timeout
# leaves nothing behind. Wine's background programs start with the first program and keep its
# standard handles: start them with /dev/null, or CTest would wait on their pipes.
/usr/lib/wine/wineserver -p 5 </dev/null >/dev/null 2>&1 || true
"$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

status=0
"$WINELOADER" "$program" "$@" || status=$?
exit $status
