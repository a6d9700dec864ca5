#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine with the build's own prefix.
#   wine-run.sh --prefix DIR program.exe [args...]
# Used by CTest as the cross-compiling emulator and by the run/test scripts.
# Without DISPLAY it starts a private Xvfb for the duration of the program.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=""
if [ "${1:-}" = "--prefix" ]; then prefix=$2; shift 2; fi
[ -n "$prefix" ] || prefix=${WINEPREFIX:-}
[ -n "$prefix" ] || { echo "wine-run: no prefix given" >&2; exit 2; }

export WINEPREFIX=$prefix
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  # shellcheck source=xvfb.sh
  source "$here/xvfb.sh"
  start_private_xvfb
  xvfb_pid=$XVFB_PID
fi

"$here/wine-prefix.sh" "$prefix"

status=0
"$WINELOADER" "$@" || status=$?
exit $status
