#!/usr/bin/env bash
# korvel-solve end to end against glpsol on the same linear program: one random
# 1000-share, 10-period worksheet written both as a Korvel document and as a
# CPLEX LP file (bench/glpsol_make_inputs.py), timed in the same run.
#
# usage: bench/compare_glpsol.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  folder holding bin/korvel-solve (default: build)
#   RUNS       timed runs of each program (default: 50)
# Uses hyperfine when it is installed, otherwise a loop of timed runs.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${1:-$root/build}"
runs="${2:-50}"
solve="$build/bin/korvel-solve"
[[ -x "$solve" ]] || { echo "compare_glpsol: $solve is not built" >&2; exit 2; }
command -v glpsol >/dev/null || { echo "compare_glpsol: glpsol not found (apt-get install glpk-utils)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/glpsol_make_inputs.py" "$work" 1000 10 1 1

# Both must reach the same optimum: glpsol's objective is M times the deviation.
korvel_deviation="$("$solve" --json "$work/sheet.kvl" | python3 -c \
    'import json,sys; print(json.load(sys.stdin)["solutions"][0]["lineDeviation"])')"
glpsol --lp "$work/model.lp" -o "$work/glpsol.out" >/dev/null
glpsol_objective="$(awk '/^Objective:/ {print $4}' "$work/glpsol.out")"
python3 - "$korvel_deviation" "$glpsol_objective" <<'PY'
import sys
korvel, glpk = float(sys.argv[1]), float(sys.argv[2]) / 10
print("optimal deviation: korvel-solve %.12g, glpsol %.12g" % (korvel, glpk))
if abs(korvel - glpk) > 1e-6:
    sys.exit("compare_glpsol: the two programs disagree")
PY

korvel_cmd="$solve --json $work/sheet.kvl"
glpsol_cmd="glpsol --lp $work/model.lp"

if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/times.json" \
        -n korvel-solve "$korvel_cmd" -n glpsol "$glpsol_cmd" >/dev/null
    python3 - "$work/times.json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
k, g = results["korvel-solve"]["median"], results["glpsol"]["median"]
print("median korvel-solve %.2f ms, glpsol %.2f ms, ratio %.3f" % (k * 1e3, g * 1e3, k / g))
PY
else
    median_ms() {
        local times=() start end
        for ((i = 0; i < runs; ++i)); do
            start=$(date +%s%N); $1 >/dev/null; end=$(date +%s%N)
            times+=($(( (end - start) / 1000 )))
        done
        printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f\n", a[int((NR+1)/2)]/1000}'
    }
    k=$(median_ms "$korvel_cmd"); g=$(median_ms "$glpsol_cmd")
    echo "median korvel-solve $k ms, glpsol $g ms, ratio $(awk -v k="$k" -v g="$g" 'BEGIN {printf "%.3f", k/g}')"
fi
