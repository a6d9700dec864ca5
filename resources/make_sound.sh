#!/usr/bin/env bash
# The built-in chime: two soft bell notes, a complete WAVE file in Microsoft ADPCM,
# 2 channels, 22,050 samples per second (about 10.6 kB).
set -euo pipefail
out=${1:-$(dirname "$0")/chime.wav}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -n -r 22050 -c 2 "$tmp/a.wav" synth 0.25 sine 1318.5 sine 2637 remix 1,2 1,2 fade q 0.005 0.25 0.23 gain -9
sox -n -r 22050 -c 2 "$tmp/b.wav" synth 0.2 sine 1046.5 sine 2093 remix 1,2 1,2 fade q 0.005 0.2 0.19 gain -9
sox "$tmp/a.wav" "$tmp/b.wav" -e ms-adpcm "$out"
