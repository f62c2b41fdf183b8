#!/usr/bin/env bash
# Builds the worksheet document fuzz target with libFuzzer and runs it.
#   fuzz/run.sh [RUNS]    RUNS defaults to 1000000 executions
# Build and corpus go to $FUZZ_DIR (default /tmp/korvel-fuzz).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
runs="${1:-1000000}"
out="${FUZZ_DIR:-/tmp/korvel-fuzz}"
mkdir -p "$out/corpus" "$out/artifacts"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root" "$here/document_fuzz.cpp" "$root"/worksheet/core/*.cpp -o "$out/document_fuzz"

# max_len lets a document of 1001 x 12 empty cells (11009 bytes) through.
# Seeds: the two example documents and a few shapes that reach every string form.
seed() { printf "$2" > "$out/corpus/$1"; }
seed abc '\x02\0\0\0\x05\0\0\0\x011\x03ABC\x031.5\x012\x04-0.5'
seed reset '\x02\0\0\0\x05\0\0\0\0\0\0\0\0'
seed medium '\x02\0\0\0\x05\0\0\0\xff\x03\0abc\0\0\0\0'
seed longest '\x02\0\0\0\x05\0\0\0\xff\xff\xff\x01\0\0\0x\0\0\0\0'
seed wide '\x02\0\0\0\x05\0\0\0\xff\xfe\xff\x02A\0\x3d\xd8\0\0\0\0'
seed wide_medium '\x02\0\0\0\x05\0\0\0\xff\xfe\xff\xff\x01\0\x41\0\0\0\0\0'
seed short '\x03\0\0\0\x06\0\0\0\x01\x31\x01A'
seed range '\xe9\x03\0\0\x0c\0\0\0\0'

"$out/document_fuzz" -runs="$runs" -max_len=12288 -artifact_prefix="$out/artifacts/" \
  -print_final_stats=1 "$out/corpus"
