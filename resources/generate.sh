#!/usr/bin/env bash
# Regenerates every binary resource in this folder. The outputs are committed, so a build
# never needs these tools; run this only after changing a generator.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
need=()
command -v sox >/dev/null || need+=(sox)
[ -x /usr/bin/convert ] || need+=(imagemagick)
command -v python3 >/dev/null || need+=(python3)
command -v chmcmd >/dev/null || need+=(fp-utils)
if [ ${#need[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi
cd "$here"
python3 make_builtin.py "$here"
./make_sound.sh "$here/chime.wav"
for extra in "$here"/generate.d/*.sh; do
  [ -e "$extra" ] && bash "$extra" "$here"
done
echo "resources regenerated in $here"
