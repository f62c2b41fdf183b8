#!/usr/bin/env bash
# Builds the fuzz targets with libFuzzer and runs each of them.
#   fuzz/run.sh [RUNS] [TARGET...]
# RUNS defaults to 1000000 executions per target; TARGET is one of document,
# return_text, display_text, delimited_text (default: all). With
# FUZZ_SECONDS set, each target runs that long instead (CI's fixed budget).
# Builds and corpora go to $FUZZ_DIR (default /tmp/korvel-fuzz).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
runs="${1:-1000000}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(document return_text display_text delimited_text)
out="${FUZZ_DIR:-/tmp/korvel-fuzz}"

sources_of() {
  case "$1" in
    document | delimited_text) echo "$root"/core/worksheet/*.cpp "$root"/core/text/*.cpp "$root"/core/files/*.cpp ;;
    return_text) echo "$root"/core/analysis/ReturnText.cpp "$root"/core/text/*.cpp ;;
    display_text) echo "$root"/core/grid/DisplayText.cpp ;;
    *) echo "unknown fuzz target: $1" >&2; return 1 ;;
  esac
}

# Seeds: the two example documents and a few shapes that reach every string form.
seed_document() {
  local dir="$1"
  printf '\x02\0\0\0\x05\0\0\0\x011\x03ABC\x031.5\x012\x04-0.5' > "$dir/abc"
  printf '\x02\0\0\0\x05\0\0\0\0\0\0\0\0' > "$dir/reset"
  printf '\x02\0\0\0\x05\0\0\0\xff\x03\0abc\0\0\0\0' > "$dir/medium"
  printf '\x02\0\0\0\x05\0\0\0\xff\xff\xff\x01\0\0\0x\0\0\0\0' > "$dir/longest"
  printf '\x02\0\0\0\x05\0\0\0\xff\xfe\xff\x02A\0\x3d\xd8\0\0\0\0' > "$dir/wide"
  printf '\x02\0\0\0\x05\0\0\0\xff\xfe\xff\xff\x01\0\x41\0\0\0\0\0' > "$dir/wide_medium"
  printf '\x03\0\0\0\x06\0\0\0\x01\x31\x01A' > "$dir/short"
  printf '\xe9\x03\0\0\x0c\0\0\0\0' > "$dir/range"
}
seed_return_text() {
  local dir="$1"
  for text in "1.5" " -0.25 " "1e308" "1e999" "0x1p-3" "nan" "1,5" "12abc" ""; do
    printf '%s' "$text" > "$dir/$(printf '%s' "$text" | od -An -tx1 | tr -d ' \n')_"
  done
}
seed_display_text() {
  local dir="$1"
  printf '\x08Name 1.5' > "$dir/ascii"
  printf '\x02a\xf0\x9f\x98\x80' > "$dir/pair"
  printf '\xff\xb15%%\x80\xc0\xaf\xed\xa0\x80\xe2\x82' > "$dir/mixed"
}

# The test exports, each behind an option byte: detected everything, worksheet limits.
seed_delimited_text() {
  local dir="$1" file
  for file in "$root"/tests/data/delimited/*; do
    { printf '\0'; cat "$file"; } > "$dir/$(basename "$file")"
  done
}

budget=(-runs="$runs")
[[ -n "${FUZZ_SECONDS:-}" ]] && budget=(-max_total_time="$FUZZ_SECONDS")

for target in "${targets[@]}"; do
  dir="$out/$target"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  # shellcheck disable=SC2046
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root" "$here/${target}_fuzz.cpp" $(sources_of "$target") -o "$dir/${target}_fuzz"
  "seed_$target" "$dir/corpus"
  # max_len lets a document of 1001 x 12 empty cells (11009 bytes) through.
  "$dir/${target}_fuzz" "${budget[@]}" -max_len=12288 -artifact_prefix="$dir/artifacts/" \
    -print_final_stats=1 "$dir/corpus"
done
