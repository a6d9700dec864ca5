#!/usr/bin/env bash
# Sample skins installed beside the programs (folder "skins"): two backgrounds, one glyph strip.
set -euo pipefail
here=${1:-$(cd "$(dirname "$0")/.." && pwd)}
python3 "$here/generate.d/make_skins.py" "$here/skins"
