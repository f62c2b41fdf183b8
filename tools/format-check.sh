#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format 14 makes of it
# (the .clang-format files of its folders); prints each difference.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
git ls-files -z '*.cpp' '*.h' | xargs -0 "$format" --dry-run --Werror
