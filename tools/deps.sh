#!/usr/bin/env bash
# Installs what building and testing Korvel needs on Debian 12 (run as root).
set -euo pipefail
# clang and its runtimes build the fuzz targets; clang-format 14 checks the style;
# GNU parallel runs the backtest's parts in the test that joins them.
packages=(build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev ccache fonts-dejavu-core
  file desktop-file-utils lintian clang-14 libclang-rt-14-dev clang-format-14
  parallel)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
