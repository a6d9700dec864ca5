# Sourced: one display and one persistent wineserver for a whole run of Windows programs,
# so each program starts in a fraction of a second.
#   start_wine_session PREFIX   exports DISPLAY (a private Xvfb when none is set) and WINEPREFIX
#   stop_wine_session           stops the wineserver and the private Xvfb
_ws_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
_ws_xvfb=""
start_wine_session() {
  export WINEPREFIX=$1 WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -z "${DISPLAY:-}" ]; then
    source "$_ws_here/xvfb.sh"
    start_private_xvfb
    _ws_xvfb=$XVFB_PID
  fi
  "$_ws_here/wine-prefix.sh" "$WINEPREFIX"
  # Creating a prefix leaves a short-lived server behind; wait for it before starting ours.
  /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
  # The first program of a session starts Wine's own background processes (services,
  # explorer, device manager), which live as long as the wineserver and keep the standard
  # handles they inherited. Start them here with /dev/null, or CTest would wait on their pipes.
  "$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
stop_wine_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  if [ -n "$_ws_xvfb" ]; then kill "$_ws_xvfb" 2>/dev/null || true; _ws_xvfb=""; fi
}
