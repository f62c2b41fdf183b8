#!/usr/bin/env bash
# Builds every program of the README (Tavo, its grid control, gridsetup,
# korvel-solve and its picture drawer, korvel-convert) and starts Tavo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavo Msflxgrd gridsetup korvel-solve korvel-solve-plot korvel-convert
exec ./build/bin/Tavo "$@"
