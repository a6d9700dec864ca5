#!/usr/bin/env bash
# Creates the Wine prefix DIR once (under a lock, so parallel tests may call it):
# a 64-bit prefix with Wine-drawn window captions, since Xvfb has no window manager.
set -euo pipefail
prefix=$1
[ -f "$prefix/.zentaro-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.zentaro-ready" ] && exit 0
export WINEPREFIX=$prefix WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$WINELOADER" wineboot --init >/dev/null 2>&1 || true
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
touch "$prefix/.zentaro-ready"
