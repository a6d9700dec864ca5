#!/usr/bin/env bash
# make test32: the 32-bit release run end to end under emulation (qemu-i386 through
# binfmt_misc, Debian's 32-bit Wine unpacked into the build folder, a prefix of its own).
# The 64-bit tests are untouched: nothing here installs the 32-bit Wine, and /usr/bin/wine and
# their prefixes never see it. Set-up is idempotent; the unpacked Wine and the prefix are kept
# in build/win32 for the next run.
#   ZENTARO_WERROR=ON  treats warnings as errors (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
werror=${ZENTARO_WERROR:-OFF}
jobs=${ZENTARO_JOBS:-$(nproc)}
say() { echo "test32: $*" >&2; }
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

"$root/scripts/bootstrap.sh" qemu-user-static

# The kernel hands 32-bit x86 programs to qemu-i386. F: the handler is opened now, so it also
# works inside other mount namespaces.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ] &&
   ! "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
  say "binfmt_misc cannot be mounted at $binfmt, so 32-bit programs cannot run here"; exit 1
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if ! printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" |
       "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null 2>&1; then
    say "binfmt_misc refused the qemu-i386 handler, so 32-bit programs cannot run here"; exit 1
  fi
fi
if ! head -n 1 "$binfmt/qemu-i386" | grep -qx enabled; then
  say "the qemu-i386 handler of binfmt_misc is disabled"; exit 1
fi

# Debian's 32-bit Wine of the installed Wine's version, and the 32-bit libraries it needs,
# unpacked (never installed) into wine32. qemu finds the libraries there (QEMU_LD_PREFIX);
# its own empty library cache keeps the host's /lib32 out.
wine32=$root/build/win32/wine32
version=$(dpkg-query -W -f='${Version}' wine64)
if [ "$(cat "$wine32/.zentaro-ready" 2>/dev/null)" != "$version" ]; then
  say "unpacking the 32-bit Wine $version into $wine32"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
    "${sudo_cmd[@]}" apt-get update -q >/dev/null
  fi
  rm -rf "$wine32" "$wine32.debs"
  mkdir -p "$wine32.debs/partial"
  # Asks only what to fetch: the download goes to a folder of ours, nothing is installed.
  "${sudo_cmd[@]}" apt-get install -q -y --download-only --no-install-recommends \
    -o Dir::Cache::Archives="$wine32.debs" "wine32:i386=$version" "libfreetype6:i386" >/dev/null
  for deb in "$wine32.debs"/*_i386.deb; do dpkg -x "$deb" "$wine32"; done
  rm -rf "$wine32.debs" "$wine32/usr/share/doc" "$wine32/usr/share/man" "$wine32/usr/share/locale"
  mkdir -p "$wine32/etc" "$wine32/usr/lib/x86_64-linux-gnu"
  : >"$wine32/etc/ld.so.cache"
  # A copy of the 64-bit loader beside the 32-bit one: Wine looks for the loader of the other
  # architecture in the folder of the running one, so 32-bit programs started from 64-bit
  # processes of this lane (and only of this lane) get the 32-bit loader.
  cp /usr/lib/wine/wine64 "$wine32/usr/lib/wine/wine64"
  ln -sfn /usr/lib/x86_64-linux-gnu/wine "$wine32/usr/lib/x86_64-linux-gnu/wine"
  echo "$version" >"$wine32/.zentaro-ready"
fi

echo "== configure and build: win32, and the 64-bit driver of the lane"
cmake --preset win32 -DZENTARO_WERROR="$werror" >/dev/null
cmake --build --preset win32 -j "$jobs"
cmake --preset win64 -DZENTARO_WERROR="$werror" >/dev/null
cmake --build --preset win64 -j "$jobs" --target e2e_release32

export WINEPREFIX=$root/build/win32/wineprefix WINELOADER=$wine32/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver QEMU_LD_PREFIX=$wine32 WINEARCH=win64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
stop() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
if [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/xvfb.sh"
  start_private_xvfb
  xvfb_pid=$XVFB_PID
fi
if [ ! -f "$WINEPREFIX/.zentaro-ready" ]; then
  say "making the prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  # The prefix's 32-bit half is set up by the installed 64-bit loader, which runs the 32-bit
  # set-up steps itself (experimental WoW64) when given the unpacked 32-bit system files: in
  # seconds, where the emulated 32-bit loader takes minutes. Only this command runs that way;
  # its 32-bit mode lacks what the programs need (graphics driver, picture decoding).
  WINEDLLPATH=$wine32/usr/lib/i386-linux-gnu/wine /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  "$WINESERVER" -w
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # A crashing program ends at once instead of waiting for the (emulated) crash debugger.
  for view in 32 64; do
    "$WINELOADER" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /f /reg:$view >/dev/null 2>&1 || true
  done
  "$WINESERVER" -w
  touch "$WINEPREFIX/.zentaro-ready"
fi
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

echo "== end to end: the 32-bit programs"
bin=$root/build/win32/bin
ZENTARO_PROGRAMS="Z:${bin//\//\\}" "$WINELOADER" "$root/build/win64/bin/e2e_release32.exe" </dev/null
