#!/usr/bin/env bash
# Zips the install directory of each Windows build (zentaro-win32.zip, zentaro-win64.zip) and
# copies its setup program beside the zip (zentaro-setup-win32.exe, zentaro-setup-win64.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
"$root/scripts/bootstrap.sh"
for arch in win32 win64; do
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j "$(nproc)"
  rm -rf "build/$arch/install"
  cmake --install "build/$arch" >/dev/null
  rm -f "zentaro-$arch.zip"
  (cd "build/$arch/install" && zip -qr "$root/zentaro-$arch.zip" .)
  echo "zentaro-$arch.zip: $(unzip -l "zentaro-$arch.zip" | tail -n 1)"
  # The build makes the setup program from the same install step (the `setup` target).
  cp "build/$arch/zentaro-setup-$arch.exe" .
  echo "zentaro-setup-$arch.exe: $(stat -c %s "zentaro-setup-$arch.exe") bytes"
done
