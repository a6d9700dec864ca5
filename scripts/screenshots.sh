#!/usr/bin/env bash
# Renders the windows of the three programs under a private Xvfb into docs/screenshots/*.png,
# from a copy installed by the setup program, so the pictures show the paths a user sees. The
# pictures in the README come only from this command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
"$root/scripts/bootstrap.sh"
[ -x /usr/bin/import ] || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends imagemagick
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" >/dev/null   # also makes the setup program
out=$root/docs/screenshots
mkdir -p "$out"

unset DISPLAY
source "$root/scripts/wine-session.sh"
start_wine_session "$root/build/win64/shots-prefix"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  stop_wine_session
}
trap cleanup EXIT

wine=/usr/lib/wine/wine64
# Shortcuts would otherwise become menu entries of this machine (Wine's menu builder).
"$wine" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d "" /f >/dev/null 2>&1
# Installed as a user installs it; the programs then run from the folder the setup chose.
"$wine" "$root/build/win64/zentaro-setup-win64.exe" /S </dev/null >/dev/null 2>&1
winapp=$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentaro' /v InstallLocation 2>/dev/null |
  tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ -n "$winapp" ] || { echo "screenshots: the setup did not install" >&2; exit 1; }
app=$("$wine" winepath.exe -u "$winapp" 2>/dev/null | tr -d '\r')
drv() { "$wine" "$root/build/win64/bin/zdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
# shoot NAME CLASS TITLE [PAD]: capture the window (and PAD pixels around it) from the X screen.
shoot() {
  local name=$1 cls=$2 title=$3 pad=${4:-0} geo x y w h
  if ! geo=$(drv rect "$cls" "$title" 10) || [ -z "$geo" ]; then
    echo "skipped: $name (no window \"$title\")"
    return 1
  fi
  sleep 1
  read -r x y w h <<<"$geo"
  x=$((x - pad)); y=$((y - pad)); w=$((w + 2 * pad)); h=$((h + 2 * pad))
  [ $x -ge 0 ] || x=0
  [ $y -ge 0 ] || y=0
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
  echo "saved: docs/screenshots/$name.png"
}
# command ID NAME TITLE: choose a menu command of the clock, photograph its window, close it.
command() {
  drv post frmMain Zentaro 0x111 "$1" 0 >/dev/null || true
  shoot "$2" - "$3" 0 && drv close - "$3" >/dev/null || true
}

"$wine" reg delete 'HKCU\Software\Zentaro' /f >/dev/null 2>&1 || true
# A calm desktop behind the face, so its shape shows.
"$wine" reg add 'HKCU\Control Panel\Colors' /v Background /d "58 110 165" /f >/dev/null 2>&1 || true
# skipaway=0: this display sees no input, which Break would take for an absence.
printf '[StartBreak]\r\ntimesshow=30\r\ncmdhide=0\r\nnotice=20\r\nskipaway=0\r\nbirthdate=3-9-1985\r\n' > "$app/stop.ini"

"$wine" "$winapp\\zentaro.exe" >/dev/null 2>&1 &
pids+=($!)
drv wait frmMain Zentaro 60 >/dev/null
sleep 2
shoot face frmMain Zentaro 20 || true
# The popup menu opens at the cursor on a right click on the face.
drv post frmMain Zentaro 0x205 0 0x000A0014 >/dev/null || true
if geo=$(drv rect "#32768" - 5) && [ -n "$geo" ]; then
  sleep 1
  read -r x y w h <<<"$geo"
  import -display "$DISPLAY" -window root -crop "$((w + 40))x$((h + 40))+$((x > 20 ? x - 20 : 0))+$((y > 20 ? y - 20 : 0))" +repage "$out/menu.png"
  echo "saved: docs/screenshots/menu.png"
  drv post "#32768" - 0x100 0x1B 0 >/dev/null || true
  drv post frmMain Zentaro 0x1F 0 0 >/dev/null || true   # WM_CANCELMODE
else
  echo "skipped: menu"
fi
sleep 1
command 3 options "Option"
# The alarm list, then its "Add(&A)..." button (id 101) opens the item editor.
drv post frmMain Zentaro 0x111 9 0 >/dev/null || true
if shoot alarm-list - "Alarm Item" 0; then
  drv post - "Alarm Item" 0x111 101 0 >/dev/null || true
  shoot alarm-editor - "Alarm item " 0 && drv close - "Alarm item " >/dev/null || true
  drv close - "Alarm Item" >/dev/null || true
fi
command 5 break-settings "Break Setting . . ."
command 7 calendar "Calendar"
command 11 time-tool "System time setting"
command 14 about "Version"

# A reminder and a shutdown countdown: two daily items for the next minute, stored as the
# editor stores them, then a restart of the clock so it loads them.
drv post frmMain Zentaro 0x111 16 0 >/dev/null || true   # Exit
sleep 2
next=$(date -d '+1 minute' '+%H %M')
read -r hh mm <<<"$next"
hh=$((10#$hh)); mm=$((10#$mm))
record() {  # enabled, action, daily, weekday 0, hour, minute, century 20, year, month, day, 0
  printf '01%02x0200%02x%02x14%02x%02x%02x00' "$1" "$hh" "$mm" "$((10#$(date +%y)))" "$((10#$(date +%m)))" "$((10#$(date +%d)))"
}
key='HKCU\Software\Zentaro\Data'
"$wine" reg add "$key" /v Data1 /t REG_BINARY /d "$(record 1)" /f >/dev/null 2>&1
"$wine" reg add "$key" /v Text1 /t REG_SZ /d "Stand up and stretch for a minute." /f >/dev/null 2>&1
"$wine" reg add "$key" /v Data2 /t REG_BINARY /d "$(record 4)" /f >/dev/null 2>&1
"$wine" reg add "$key" /v DataCount /t REG_DWORD /d 2 /f >/dev/null 2>&1
# The face in the top-left corner, clear of the centred dialogs.
"$wine" reg add 'HKCU\Software\Zentaro\Load' /v ClockLeft /d 16 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Zentaro\Load' /v ClockTop /d 16 /f >/dev/null 2>&1
"$wine" "$winapp\\zentaro.exe" >/dev/null 2>&1 &
pids+=($!)
drv wait frmMain Zentaro 60 >/dev/null
if drv wait - "Text Hint" 75 >/dev/null; then
  # Both fire in the same minute and the countdown opens over the reminder: photograph the
  # countdown, cancel it (nothing is shut down), then photograph the reminder.
  if drv wait - "Shut down" 10 >/dev/null; then
    shoot countdown - "Shut down" 0 || true
    drv post - "Shut down" 0x111 2 0 >/dev/null || true
    sleep 2
  fi
  shoot reminder - "Text Hint" 0 || true
  drv post - "Text Hint" 0x111 1 0 >/dev/null || true
else
  echo "skipped: reminder and countdown (no reminder appeared)"
fi
sleep 1
drv post frmMain Zentaro 0x111 16 0 >/dev/null || true   # Exit
"$wine" reg delete 'HKCU\Software\Zentaro' /f >/dev/null 2>&1 || true

"$wine" "$winapp\\vitaro.exe" >/dev/null 2>&1 &
pids+=($!)
shoot vitaro - Vitaro 0 && drv close - Vitaro >/dev/null || true

"$wine" "$winapp\\Break.exe" >/dev/null 2>&1 &
pids+=($!)
# The notice first, in the corner of the notification area; "Start now" (id 112) opens the break.
if shoot break-notice BreakNotice Break 24; then
  drv post BreakNotice Break 0x111 112 0 >/dev/null || true
fi
sleep 4
import -display "$DISPLAY" -window root -resize 50% "$out/break.png" && echo "saved: docs/screenshots/break.png"
kill "${pids[-1]}" 2>/dev/null || true
printf '[StartBreak]\r\ntimesshow=0\r\ncmdhide=0\r\n' > "$app/stop.ini"

# The options dialog and vitaro at 144 DPI (150 %): the prefix's display scale is read by each
# program as it starts, and is put back to 96 DPI afterwards.
dpikey='HKCU\Control Panel\Desktop'
"$wine" reg add "$dpikey" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Zentaro\Load' /v ClockLeft /d 16 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Zentaro\Load' /v ClockTop /d 16 /f >/dev/null 2>&1
"$wine" "$winapp\\zentaro.exe" >/dev/null 2>&1 &
pids+=($!)
if drv wait frmMain Zentaro 60 >/dev/null; then
  sleep 2
  command 3 options-144dpi "Option"
  drv post frmMain Zentaro 0x111 16 0 >/dev/null || true   # Exit
  sleep 2
fi
"$wine" reg delete 'HKCU\Software\Zentaro' /f >/dev/null 2>&1 || true
"$wine" "$winapp\\vitaro.exe" >/dev/null 2>&1 &
pids+=($!)
shoot vitaro-144dpi - Vitaro 0 && drv close - Vitaro >/dev/null || true
"$wine" reg delete "$dpikey" /v LogPixels /f >/dev/null 2>&1 || true
