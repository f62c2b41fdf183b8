#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite, then the plain C++
# libraries' tests again under AddressSanitizer and UndefinedBehaviorSanitizer;
# then installs a package build into a scratch folder, runs the installed
# korvel-solve, and makes the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
jobs=$(nproc)

# ccache when present; with paths taken relative to the project, the package
# build below reuses what the first build compiled.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DKORVEL_CORE_ONLY=ON -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The package build: installed under /usr, so /usr/lib/korvel is compiled in.
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DKORVEL_BENCH=OFF "${launcher[@]}" >/dev/null
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
