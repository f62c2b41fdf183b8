#!/usr/bin/python3
"""korvel-solve --risk against HiGHS (scipy's linprog) on the same LP.

For each measure (cvar, downside, worst) and size, runs korvel-solve as a
process for the single Min Return, the whole --frontier and --best-ratio,
and HiGHS on the single Min Return's LP in a child process (best of its dual
simplex and interior point by CPU time); prints median wall and CPU times
(korvel-solve's whole process, HiGHS's linprog call) and checks that both reach
the same least risk (relative 1e-9). The returns are compare_highs.py's.
With --bench (bench/measure_bench, built), the solver alone is timed too on
the same returns in memory (Google Benchmark, median CPU of --repeat runs),
without korvel-solve's process start and reading of the text.

Needs python3-scipy (Debian), for this benchmark only.

usage: compare_highs_risk.py [--solve PATH] [--bench PATH] [--repeat N] [--min-return R]
                             [--sizes 500x520,10000x260] [--risks cvar,downside,worst]
                             [--max-weight X] [--timeout S] [--workdir DIR]
"""
import argparse
import json
import os
import resource
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_highs as base  # noqa: E402


def measure_lp(r, risk, min_return, max_weight):
    """The measure's LP in (weights, measure columns): cost, A_ub, b_ub, A_eq, b_eq, bounds."""
    import numpy as np
    import scipy.sparse as sp

    shares, periods = r.shape
    mean = r.sum(axis=1) / periods
    name, _, parameter = risk.partition(":")
    minus_r = sp.csr_matrix(-r.T)
    eye = sp.identity(periods, format="csr")
    column = sp.csr_matrix(-np.ones((periods, 1)))
    if name == "cvar":
        alpha = float(parameter or 0.05)
        period_rows = sp.hstack([minus_r, column, -eye])
        extra = [0.0] * 0 + [1.0] + [1.0 / (alpha * periods)] * periods
        extra_bounds = [(None, None)] + [(0, None)] * periods
        b_rows = np.zeros(periods)
    elif name == "downside":
        target = float(parameter or 0.0)
        period_rows = sp.hstack([minus_r, -eye])
        extra = [1.0 / periods] * periods
        extra_bounds = [(0, None)] * periods
        b_rows = np.full(periods, -target)
    else:
        period_rows = sp.hstack([minus_r, column])
        extra = [1.0]
        extra_bounds = [(None, None)]
        b_rows = np.zeros(periods)
    width = len(extra)
    a_ub = sp.vstack([period_rows, sp.hstack([sp.csr_matrix(-mean[None, :]), sp.csr_matrix((1, width))])]).tocsc()
    b_ub = np.concatenate([b_rows, [-min_return]])
    a_eq = sp.hstack([sp.csr_matrix(np.ones((1, shares))), sp.csr_matrix((1, width))]).tocsc()
    cost = np.concatenate([np.zeros(shares), extra])
    bounds = [(0, max_weight)] * shares + extra_bounds
    return cost, a_ub, b_ub, a_eq, np.array([1.0]), bounds


def highs_worker(path, risk, min_return, max_weight, method):
    from scipy.optimize import linprog

    lp = measure_lp(base.read_csv(path), risk, min_return, max_weight)
    start, cpu = time.perf_counter(), time.process_time()
    res = linprog(lp[0], A_ub=lp[1], b_ub=lp[2], A_eq=lp[3], b_eq=lp[4], bounds=lp[5], method=method)
    seconds, cpu = time.perf_counter() - start, time.process_time() - cpu
    print(json.dumps({"seconds": seconds, "cpu": cpu, "risk": float(res.fun) if res.success else None}))


def cpu_run(argv, repeat, timeout):
    """median_run's median CPU seconds (user + system of the child) first: on a
    shared machine the wall time counts the other processes' turns."""
    seconds, peak, status, out, cpu = base.median_run(argv, repeat, timeout)
    return cpu, (seconds, peak, status, out)


BENCH_MEASURES = {"cvar": 0, "downside": 1, "worst": 2}


def solver_alone(args, path):
    """{(kind, risk): (wall s, CPU s)} medians from measure_bench on path's returns; empty without it."""
    import subprocess

    if not args.bench or not os.path.exists(args.bench) or args.min_return != 0.05:
        return {}
    env = dict(os.environ, KORVEL_BENCH_RETURNS=path)
    if args.max_weight < 1.0:
        env["KORVEL_BENCH_MAX_WEIGHT"] = repr(args.max_weight)
    out = subprocess.run([args.bench, "--benchmark_repetitions=%d" % args.repeat, "--benchmark_format=json",
                          "--benchmark_report_aggregates_only=true"], env=env, capture_output=True, timeout=args.timeout * 10)
    times = {}
    for b in json.loads(out.stdout)["benchmarks"]:
        # One repetition reports its run alone, no aggregates.
        if b.get("aggregate_name", "median" if args.repeat == 1 else None) != "median":
            continue
        kind, index = b["name"].split("/")[:2]
        for risk, i in BENCH_MEASURES.items():
            if int(index) == i:
                times[(kind, risk)] = (b["real_time"] / 1000.0, b["cpu_time"] / 1000.0)
    return times


def korvel_args(args, risk):
    extra = ["--max-weight", repr(args.max_weight)] if args.max_weight < 1.0 else []
    return [args.solve, "--json", "--risk", risk] + extra


def bench(args, path, risk):
    single = korvel_args(args, risk) + ["--min-return", repr(args.min_return), path]
    k_cpu, (k_time, _, k_status, k_out) = cpu_run(single, args.repeat, args.timeout)
    best = None
    for method in ("highs-ds", "highs-ipm"):
        worker = [sys.executable, __file__, "--highs-worker", path, risk, method, "--min-return", repr(args.min_return),
                  "--max-weight", repr(args.max_weight)]
        _, _, _, h_out, _ = base.median_run(worker, args.repeat, args.timeout)
        result = json.loads(h_out) if h_out else {"seconds": float("inf"), "cpu": float("inf"), "risk": None}
        if best is None or result["cpu"] < best[3]:
            best = (result["seconds"], result["risk"], method, result["cpu"])
    note = "exit %s" % k_status
    if k_status == 0:
        korvel = json.loads(k_out)["solutions"][0]["risk"]
        diff = abs(korvel - best[1]) / max(abs(best[1]), 1e-12) if best[1] is not None else float("inf")
        note = "%s, rel.diff %.1e" % ("same" if diff <= 1e-9 else "DIFFERS", diff)
    f_cpu, (f_time, _, f_status, f_out) = cpu_run(korvel_args(args, risk) + ["--frontier", path], args.repeat,
                                                  args.timeout)
    points = len(json.loads(f_out)["points"]) if f_status == 0 else 0
    r_cpu, (r_time, _, r_status, _) = cpu_run(korvel_args(args, risk) + ["--best-ratio", path], args.repeat,
                                              args.timeout)
    return (k_time, k_cpu), best, note, (f_time, f_cpu), points, f_status, (r_time, r_cpu), r_status


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--solve", default=os.path.join(os.path.dirname(__file__), "..", "build", "bin", "korvel-solve"))
    parser.add_argument("--bench", default=os.path.join(os.path.dirname(__file__), "..", "build", "bench", "measure_bench"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--min-return", type=float, default=0.05)
    parser.add_argument("--max-weight", type=float, default=1.0)
    parser.add_argument("--sizes", default="500x520,10000x260")
    parser.add_argument("--risks", default="cvar,downside,worst")
    parser.add_argument("--workdir", default=None)
    parser.add_argument("--seed", type=int, default=23)
    parser.add_argument("--timeout", type=float, default=600.0)
    parser.add_argument("--highs-worker", nargs=3, metavar=("CSV", "RISK", "METHOD"))
    args = parser.parse_args()
    if args.highs_worker:
        path, risk, method = args.highs_worker
        highs_worker(path, risk, args.min_return, args.max_weight if args.max_weight < 1.0 else None, method)
        return
    args.workdir = args.workdir or tempfile.mkdtemp(prefix="korvel-highs-risk-")
    print("| shares x periods | risk | single s (CPU) | HiGHS s (CPU) | HiGHS / single, CPU | frontier s (CPU, points) "
          "| frontier / HiGHS, CPU | best-ratio s (CPU) | solver alone: single, frontier s (CPU) "
          "| HiGHS / single alone, CPU | check |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    for size in args.sizes.split(","):
        shares, periods = (int(v) for v in size.split("x"))
        path = os.path.join(args.workdir, "returns-%dx%d.csv" % (shares, periods))
        base.write_csv(path, base.factor_returns(shares, periods, args.seed))
        alone = solver_alone(args, path)
        for risk in args.risks.split(","):
            single, best, note, front, points, f_status, ratio, r_status = bench(args, path, risk)
            frontier = "%.2f (%.2f, %d)" % (front[0], front[1], points) if f_status == 0 else "exit %s" % f_status
            best_ratio = "%.2f (%.2f)" % ratio if r_status == 0 else "exit %s" % r_status
            name = risk if ":" not in risk else None
            if ("BM_MeasureSingle", name) in alone:
                one, whole = alone[("BM_MeasureSingle", name)], alone[("BM_MeasureFrontier", name)]
                solver = "%.3f (%.3f), %.3f (%.3f)" % (one + whole)
                solver_ratio = "%.1f" % (best[3] / one[1])
            else:
                solver, solver_ratio = "-", "-"
            print("| %d x %d | %s | %.2f (%.2f) | %.2f (%.2f, %s) | %.1f | %s | %.1f | %s | %s | %s | %s |"
                  % (shares, periods, risk, single[0], single[1], best[0], best[3], best[2].replace("highs-", ""),
                     best[3] / single[1], frontier, front[1] / best[3], best_ratio, solver, solver_ratio, note),
                  flush=True)


if __name__ == "__main__":
    main()
