#!/usr/bin/env bash
# vitaro's icon (resources/vitaro.ico), drawn by a Python generator.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
python3 "$here/make_vitaro_icon.py" "${1:-$here}"
