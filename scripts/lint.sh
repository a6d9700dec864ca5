#!/usr/bin/env bash
# The layer check (every include points down, no cycle between folders; scripts/layers.py),
# then static analysis of the program sources with cppcheck and the checked-in configuration
# (.cppcheck-suppressions). Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v cppcheck >/dev/null || scripts/bootstrap.sh
python3 scripts/layers.py
sources=(common toolkit face alarms tools breaksettings apps)
cppcheck --quiet --std=c++20 --language=c++ \
  --enable=warning,performance,portability \
  --library=windows --platform=win64 \
  -D_WIN32 -DWIN32 -D__MINGW32__ -I . \
  --inline-suppr --suppressions-list=.cppcheck-suppressions \
  --error-exitcode=1 -j 2 \
  "${sources[@]}"
echo "lint: no findings in ${sources[*]}"
