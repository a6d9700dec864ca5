#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix of its own, with a wineserver that lives
# for the run: what the program installs never reaches the prefix the other tests share, and
# its windows are not theirs to see.
#   own-prefix.sh PREFIX program.exe [args...]
set -euo pipefail
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
prefix=$1
shift
export WINEPREFIX=$prefix WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  source "$scripts/xvfb.sh"
  start_private_xvfb
  xvfb_pid=$XVFB_PID
fi
stop() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
"$scripts/wine-prefix.sh" "$prefix"
/usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
# Wine's background processes start with the first program and keep its standard handles:
# give them /dev/null, or CTest would wait on their pipes.
"$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
"$WINELOADER" "$@"
