#!/usr/bin/env bash
# Builds Tavo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Tavo Msflxgrd
exec ./build/bin/Tavo "$@"
