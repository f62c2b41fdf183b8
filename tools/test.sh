#!/usr/bin/env bash
# Checks the format, builds everything (warnings are errors) and runs every
# test twice: once as shipped, then the whole program again, GUI included,
# under AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer;
# then installs a package build into a scratch folder, runs the installed
# korvel-solve, makes the .deb, and runs every fuzz target for 10 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
jobs=$(nproc)
bash tools/format-check.sh

# ccache when present; with paths taken relative to the project, the package
# build below reuses what the first build compiled.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi

# Warnings are errors here; the package build below uses the same flags, so
# that it reuses what this one compiled.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  "${launcher[@]}" >/dev/null
cmake --build build-sanitize -j"$jobs"
# Leaks are checked in our code only: tools/lsan.supp names the libraries
# below it whose start-up allocations live as long as the process.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The package build: installed under /usr, so /usr/lib/korvel is compiled in.
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DKORVEL_BENCH=OFF -DKORVEL_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-deb -j"$jobs"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install build-deb >/dev/null
printf '\x02\x00\x00\x00\x05\x00\x00\x00\x011\x05Alpha\x031.5\x012\x04-0.5' >"$stage/sheet"
"$stage/usr/bin/korvel-solve" "$stage/sheet" | grep -q Alpha
(cd build-deb && cpack -G DEB)
if command -v lintian >/dev/null; then
  lintian --fail-on error build-deb/korvel_*.deb
fi

# Every fuzz target for a fixed short time (Debian's clang and libFuzzer).
FUZZ_SECONDS=10 FUZZ_DIR="$stage/fuzz" bash fuzz/run.sh
