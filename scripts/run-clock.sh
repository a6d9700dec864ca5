#!/usr/bin/env bash
# Builds the Windows programs and starts zentaro.exe under Wine. With DISPLAY set it shows
# there; without one it runs on a private Xvfb, saves a screenshot of the clock and keeps
# running until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
"$root/scripts/bootstrap.sh"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
cmake --install build/win64 >/dev/null
install_dir=$root/build/win64/install
bin=$root/build/win64/bin

source "$root/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_wine_session "$root/build/win64/run-prefix"
echo "running: $install_dir/zentaro.exe (Wine prefix build/win64/run-prefix, DISPLAY=$DISPLAY)"
/usr/lib/wine/wine64 "$install_dir/zentaro.exe" &
clock=$!

if [ -z "${ZENTARO_SHOW:-}" ] && [ -n "$_ws_xvfb" ]; then
  shot=$root/build/zentaro-screenshot.png
  if /usr/lib/wine/wine64 "$bin/zdriver.exe" wait frmMain Zentaro 60 &&
     sleep 1.5 && /usr/lib/wine/wine64 "$bin/zdriver.exe" shot frmMain Zentaro "$shot" 24; then
    echo "the clock is running on the private display $DISPLAY; screenshot: $shot"
  elif ! kill -0 "$clock" 2>/dev/null; then
    echo "zentaro.exe ended without showing a clock window"
    exit 1
  else
    echo "no clock window appeared within 60 seconds"
  fi
  echo "press Ctrl+C to stop"
fi
wait "$clock"
