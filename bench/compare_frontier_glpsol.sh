#!/usr/bin/env bash
# The whole frontier from korvel-solve --frontier against the usual way of
# drawing it: glpsol solving the same LP again at 25 returns sampled evenly
# from the least-deviation portfolio's return to the best share's mean. One
# random 1000-share, 10-period worksheet (bench/glpsol_make_inputs.py).
#
# usage: bench/compare_frontier_glpsol.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  folder holding bin/korvel-solve (default: build)
#   RUNS       timed runs of each (default: 15); medians are printed
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${1:-$root/build}"
runs="${2:-15}"
solve="$build/bin/korvel-solve"
[[ -x "$solve" ]] || { echo "compare_frontier_glpsol: $solve is not built" >&2; exit 2; }
command -v glpsol >/dev/null || { echo "compare_frontier_glpsol: glpsol not found (apt-get install glpk-utils)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/glpsol_make_inputs.py" "$work" 1000 10 1 1

# 25 models, the return row's bound replaced by each sampled return.
"$solve" --frontier --json "$work/sheet.kvl" >"$work/frontier.json"
python3 - "$work" <<'PY'
import json, re, sys
work = sys.argv[1]
points = json.load(open(work + "/frontier.json"))["points"]
low, high = points[0]["averageReturn"], points[-1]["averageReturn"]
model = open(work + "/model.lp").read()
for k in range(25):
    bound = low + (high - low) * k / 24
    text = re.sub(r"(\n return: .*- s = )\S+", lambda m: m.group(1) + repr(bound), model)
    open("%s/model%02d.lp" % (work, k), "w").write(text)
print("frontier: %d breakpoints, returns %.6g to %.6g" % (len(points), low, high))
PY

# Both must agree where the samples fall: glpsol's objective is M times the
# deviation. Its exact rational simplex is the judge here: on these models its
# default simplex can report "OPTIMAL" for a basis with negative variables.
glpsol --exact --lp "$work/model12.lp" -o "$work/glpsol.out" >/dev/null
python3 - "$work" <<'PY'
import json, re, sys
work = sys.argv[1]
points = json.load(open(work + "/frontier.json"))["points"]
bound = float(re.search(r"\n return: .*- s = (\S+)", open(work + "/model12.lp").read()).group(1))
objective = float(re.search(r"Objective:.*= (\S+)", open(work + "/glpsol.out").read()).group(1)) / 10
for a, b in zip(points, points[1:]):
    if a["averageReturn"] <= bound <= b["averageReturn"]:
        t = (bound - a["averageReturn"]) / (b["averageReturn"] - a["averageReturn"])
        between = a["lineDeviation"] + t * (b["lineDeviation"] - a["lineDeviation"])
        print("deviation at the middle sample: korvel-solve %.12g, glpsol %.12g" % (between, objective))
        if abs(between - objective) > 1e-6 * max(1.0, objective):
            sys.exit("compare_frontier_glpsol: the two disagree")
PY

cat >"$work/sampled.sh" <<SH
#!/bin/sh
for k in \$(seq -w 0 24); do glpsol --lp "$work/model\$k.lp" >/dev/null || exit 1; done
SH
chmod +x "$work/sampled.sh"

median_ms() {
    local times=() start end
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s%N); "$@" >/dev/null; end=$(date +%s%N)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f\n", a[int((NR+1)/2)]/1000}'
}
"$solve" --frontier --json "$work/sheet.kvl" >/dev/null  # warm the page cache
k=$(median_ms "$solve" --frontier --json "$work/sheet.kvl")
g=$(median_ms "$work/sampled.sh")
echo "median korvel-solve --frontier $k ms, 25 glpsol runs $g ms, speed-up $(awk -v k="$k" -v g="$g" 'BEGIN {printf "%.1f", g/k}')x"
