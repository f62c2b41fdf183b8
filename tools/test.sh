#!/usr/bin/env bash
# Builds everything and runs every test twice: once as shipped, then the
# whole program again, GUI included, under AddressSanitizer (leak checking
# on) and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-sanitize -j"$jobs"
# Leaks are checked in our code only: tools/lsan.supp names the libraries
# below it whose start-up allocations live as long as the process.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
