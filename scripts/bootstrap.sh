#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test Zentaro.
# Idempotent: it asks apt-get only for packages that are not installed yet. Arguments name
# further packages.
set -euo pipefail

packages=(
  cmake ninja-build g++ make googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xauth x11-utils
  zip cppcheck nsis
  clang libfuzzer-14-dev
  ccache faketime lld
  "$@"  # what a caller needs beside these (the 32-bit lane: qemu-user-static)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
