#!/usr/bin/env bash
# korvel-solve on CSV beyond the worksheet's size against glpsol on the same
# linear program: one random worksheet of SHARES x PERIODS written as CSV and
# as a CPLEX LP file (bench/glpsol_make_inputs.py), each program timed RUNS
# times, medians reported.
#
# usage: bench/compare_glpsol_text.sh SHARES PERIODS [BUILD_DIR] [RUNS]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
shares="$1"
periods="$2"
build="${3:-$root/build}"
runs="${4:-5}"
solve="$build/bin/korvel-solve"
[[ -x "$solve" ]] || { echo "compare_glpsol_text: $solve is not built" >&2; exit 2; }
command -v glpsol >/dev/null || { echo "compare_glpsol_text: glpsol not found (apt-get install glpk-utils)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/glpsol_make_inputs.py" "$work" "$shares" "$periods" 1 1

median_s() {
    local times=() start end
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s%N); "$@" >"$work/last.out"; end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f\n", a[int((NR+1)/2)]/1000}'
}

k=$(median_s "$solve" --json "$work/sheet.csv")
korvel_deviation="$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["solutions"][0]["lineDeviation"])' "$work/last.out")"
g=$(median_s glpsol --lp "$work/model.lp" -o "$work/glpsol.out")
glpsol_objective="$(awk '/^Objective:/ {print $4}' "$work/glpsol.out")"
python3 - "$korvel_deviation" "$glpsol_objective" "$periods" <<'PY'
import sys
korvel, glpk = float(sys.argv[1]), float(sys.argv[2]) / int(sys.argv[3])
print("optimal deviation: korvel-solve %.12g, glpsol %.12g" % (korvel, glpk))
if abs(korvel - glpk) > 1e-5:
    sys.exit("compare_glpsol_text: the two programs disagree")
PY
echo "$shares x $periods: median korvel-solve $k s, glpsol $g s, ratio $(awk -v k="$k" -v g="$g" 'BEGIN {printf "%.2f", k/g}') ($runs runs)"
