#!/usr/bin/env bash
# Runs every benchmark of the project and prints its figures. Native benchmarks are the
# host preset's bench_* programs; Windows ones are the win64 preset's bench_*.exe, run
# under Wine. Each prints its own ratio against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
"$root/scripts/bootstrap.sh"
for preset in host-bench win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
ran=0
for b in build/host-bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b") (native)"
  "$b"; ran=$((ran + 1))
done
source "$root/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_wine_session "$root/build/win64/wineprefix"
for b in build/win64/bin/bench_*.exe; do
  [ -e "$b" ] || continue
  echo "== $(basename "$b") (Wine)"
  /usr/lib/wine/wine64 "$b"; ran=$((ran + 1))
done
echo "== $ran benchmark programs ran"
