#!/usr/bin/python3
"""korvel-solve against HiGHS (scipy's linprog) on the same deviation model.

Writes seeded factor-model returns as CSV, runs korvel-solve on the file as a
process (the single Min Return, --least-risk, and --frontier) and HiGHS on the
same LP in a child process (best of its dual simplex and interior point), and
prints a table of median times (wall, and CPU in brackets: on a shared
machine the CPU time is the steadier), ratios and peak memory. Checks that both
reach the same least deviation (relative 1e-9) and that korvel's weights are
a portfolio reaching the Min Return, and the same of a few of the frontier's
breakpoints against HiGHS at their returns.

Needs python3-scipy (Debian), for this benchmark only.

usage: compare_highs.py [--solve PATH] [--repeat N] [--min-return R] [--timeout S]
                        [--sizes 2000x60,500x520] [--workdir DIR] [--no-frontier]
                        [--frontier-checks N]
A run stopped at the timeout shows "exit None".
"""
import argparse
import json
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

DEFAULT_SIZES = "1000x10,2000x60,500x520,500x2520,3000x520,10000x260,20x7000,2000x5000"


def factor_returns(shares, periods, seed):
    """Per-period returns in percent: three market factors, a drift per share
    and noise of its own, written with six significant digits."""
    import numpy as np

    rng = np.random.default_rng(seed)
    factors = rng.normal(0.02, 1.0, size=(3, periods))
    betas = rng.uniform(0.2, 1.2, size=(shares, 3))
    drift = rng.normal(0.03, 0.02, size=(shares, 1))
    noise = rng.normal(0.0, 2.0, size=(shares, periods))
    return drift + betas @ factors + noise


def write_csv(path, returns):
    shares, periods = returns.shape
    with open(path, "w") as f:
        f.write("Name," + ",".join("R%d" % p for p in range(1, periods + 1)) + "\n")
        for i in range(shares):
            f.write("S%d," % (i + 1) + ",".join("%.6g" % v for v in returns[i]) + "\n")


def read_csv(path):
    import numpy as np

    return np.loadtxt(path, delimiter=",", skiprows=1, usecols=None, dtype=str)[:, 1:].astype(float)


def run_child(argv, timeout):
    """Runs argv; returns (seconds, peak resident KB, exit status, stdout,
    CPU seconds).
    A run past timeout seconds is killed and has status None. The peak comes
    from /usr/bin/time: wait4's counts this process's pages too, as the child
    holds them between fork and exec."""
    with tempfile.NamedTemporaryFile() as peak, tempfile.TemporaryFile() as out:
        argv = ["/usr/bin/time", "-f", "%M %U %S", "-o", peak.name] + argv
        start = time.perf_counter()
        proc = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            status = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            return time.perf_counter() - start, 0, None, b"", float("inf")
        seconds = time.perf_counter() - start
        out.seek(0)
        peak.seek(0)
        words = peak.read().decode().split()
        kb, cpu = (int(words[-3]), float(words[-2]) + float(words[-1])) if len(words) >= 3 else (0, float("inf"))
        return seconds, kb, status, out.read(), cpu


def highs_worker(path, min_return, method):
    """Child process: the LP in the columns (x, u, w); prints seconds and the
    least deviation per period."""
    import numpy as np
    import scipy.sparse as sp
    from scipy.optimize import linprog

    r = read_csv(path)
    shares, periods = r.shape
    mean = r.sum(axis=1) / periods
    dev = (r - mean[:, None]).T  # periods x shares
    eye = sp.identity(periods, format="csr")
    period_rows = sp.hstack([sp.csr_matrix(dev), -eye, eye])
    budget = sp.hstack([sp.csr_matrix(np.ones((1, shares))), sp.csr_matrix((1, 2 * periods))])
    a_eq = sp.vstack([period_rows, budget]).tocsc()
    b_eq = np.zeros(periods + 1)
    b_eq[-1] = 1.0
    cost = np.concatenate([np.zeros(shares), np.full(2 * periods, 1.0 / periods)])
    a_ub = b_ub = None
    if min_return is not None:
        a_ub = sp.hstack([sp.csr_matrix(-mean[None, :]), sp.csr_matrix((1, 2 * periods))]).tocsc()
        b_ub = np.array([-min_return])
    start, cpu = time.perf_counter(), time.process_time()
    res = linprog(cost, A_ub=a_ub, b_ub=b_ub, A_eq=a_eq, b_eq=b_eq, bounds=(0, None), method=method)
    seconds, cpu = time.perf_counter() - start, time.process_time() - cpu
    print(json.dumps({"seconds": seconds, "cpu": cpu, "status": int(res.status), "deviation": float(res.fun) if res.success else None}))


def korvel_portfolio(out):
    run = json.loads(out)
    if run["outcome"] != "done":
        return None, None, run["outcome"]
    solution = run["solutions"][0]
    weights = {s["row"]: s["weight"] for s in solution["shares"]}
    return solution["lineDeviation"], weights, "done"


def check_weights(r, weights, min_return):
    """Sum, signs and return of the printed weights, and their deviation."""
    import numpy as np

    shares, periods = r.shape
    x = np.zeros(shares)
    for row, w in weights.items():
        x[row - 1] = w
    mean = r.sum(axis=1) / periods
    deviation = np.abs((r - mean[:, None]).T @ x).sum() / periods
    sum_error = abs(x.sum() - 1.0)
    short = min_return is not None and mean @ x < min_return - 1e-9 * max(1.0, abs(min_return))
    return x.min() >= 0.0 and not short, sum_error, deviation


def median_run(argv, repeat, timeout):
    """Median wall seconds, largest peak, last status and output, median CPU seconds."""
    runs = [run_child(argv, timeout) for _ in range(repeat)]
    return (statistics.median(r[0] for r in runs), max(r[1] for r in runs), runs[-1][2], runs[-1][3],
            statistics.median(r[4] for r in runs))


def bench_size(args, shares, periods, seed):
    path = os.path.join(args.workdir, "returns-%dx%d.csv" % (shares, periods))
    returns = factor_returns(shares, periods, seed)
    write_csv(path, returns)
    r = read_csv(path)
    rows = []
    for label, kargs, bound in (("single", ["--min-return", repr(args.min_return)], args.min_return),
                                ("least-risk", ["--least-risk"], None)):
        k_time, k_peak, k_status, k_out, k_cpu = median_run([args.solve, "--json"] + kargs + [path], args.repeat, args.timeout)
        best = None
        for method in ("highs-ds", "highs-ipm"):
            worker = [sys.executable, __file__, "--highs-worker", path, method]
            if bound is not None:
                worker += ["--min-return", repr(bound)]
            runs = [run_child(worker, args.timeout) for _ in range(args.repeat)]
            results = [json.loads(out) if out else {"seconds": float("inf"), "cpu": float("inf"), "deviation": None}
                       for _, _, _, out, _ in runs]
            seconds = statistics.median(r["seconds"] for r in results)
            cpu = statistics.median(r["cpu"] for r in results)
            if best is None or seconds < best[0]:
                best = (seconds, max(r[1] for r in runs), results[-1]["deviation"], method, cpu)
        note = "exit %s" % k_status
        deviation = None
        if k_status == 0:
            deviation, weights, outcome = korvel_portfolio(k_out)
            note = outcome
            if weights is not None:
                feasible, sum_error, recomputed = check_weights(r, weights, bound)
                # A least deviation of zero (more shares than periods hedge
                # every period) compares against the data's own size.
                floor = 1e-6 * float(abs(r).max())
                same = best[2] is not None and abs(deviation - best[2]) <= 1e-9 * max(abs(best[2]), floor)
                note = "%s, rel.diff %.1e, sum-1 %.1e%s" % ("same" if same else "DIFFERS",
                                                            abs(deviation - best[2]) / max(abs(best[2]), floor),
                                                            sum_error, "" if feasible else ", INFEASIBLE")
        rows.append((label, k_time, k_cpu, k_peak, best[0], best[4], best[1], best[3], note))
    if args.frontier:
        f_time, f_peak, f_status, f_out, f_cpu = median_run([args.solve, "--json", "--frontier", path], args.repeat,
                                                            args.timeout)
        note = "exit %s" % f_status
        if f_status == 0:
            points = json.loads(f_out)["points"]
            note = "%d breakpoints%s" % (len(points), check_breakpoints(args, path, r, points, rows[0][7]))
        rows.append(("frontier", f_time, f_cpu, f_peak) + rows[0][4:8] + (note,))
    return rows


def check_breakpoints(args, path, r, points, method):
    """HiGHS at the returns of --frontier-checks breakpoints spread along the
    frontier (both ends among them): the same least deviation, and weights
    that are a portfolio reaching the return."""
    count = min(args.frontier_checks, len(points))
    if count <= 0:
        return ""
    picked = sorted({round(k * (len(points) - 1) / max(count - 1, 1)) for k in range(count)})
    worst, faults = 0.0, []
    floor = 1e-6 * float(abs(r).max())
    for k in picked:
        point = points[k]
        worker = [sys.executable, __file__, "--highs-worker", path, method, "--min-return", repr(point["averageReturn"])]
        _, _, _, out, _ = run_child(worker, args.timeout)
        highs = json.loads(out)["deviation"] if out else None
        weights = {s["row"]: s["weight"] for s in point["shares"]}
        feasible, _, _ = check_weights(r, weights, point["averageReturn"])
        diff = abs(point["lineDeviation"] - highs) / max(abs(highs), floor) if highs is not None else float("inf")
        worst = max(worst, diff)
        if diff > 1e-9 or not feasible:
            faults.append(k + 1)
    verdict = "same" if not faults else "DIFFERS at %s" % ",".join(map(str, faults))
    return ", %d checked by HiGHS: %s, max rel.diff %.1e" % (len(picked), verdict, worst)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--solve", default=os.path.join(os.path.dirname(__file__), "..", "build", "bin", "korvel-solve"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--min-return", type=float, default=0.05)
    parser.add_argument("--sizes", default=DEFAULT_SIZES)
    parser.add_argument("--workdir", default=None)
    parser.add_argument("--seed", type=int, default=23)
    parser.add_argument("--no-frontier", dest="frontier", action="store_false")
    parser.add_argument("--frontier-checks", type=int, default=3,
                        help="breakpoints checked against HiGHS at their returns (0: none)")
    parser.add_argument("--timeout", type=float, default=600.0, help="seconds before a run is stopped")
    parser.add_argument("--highs-worker", nargs=2, metavar=("CSV", "METHOD"))
    args = parser.parse_args()
    if args.highs_worker:
        highs_worker(args.highs_worker[0], args.min_return if "--min-return" in sys.argv else None,
                     args.highs_worker[1])
        return
    args.workdir = args.workdir or tempfile.mkdtemp(prefix="korvel-highs-")
    print("| shares x periods | run | korvel-solve s (CPU) | korvel peak MB | HiGHS s (CPU) | HiGHS peak MB "
          "| HiGHS / korvel (CPU) | check |")
    print("|---|---|---|---|---|---|---|---|")
    for size in args.sizes.split(","):
        shares, periods = (int(v) for v in size.split("x"))
        for label, k_time, k_cpu, k_peak, h_time, h_cpu, h_peak, method, note in bench_size(args, shares, periods,
                                                                                            args.seed):
            highs = "%.3f (%.3f) %s" % (h_time, h_cpu, method.replace("highs-", ""))
            # /usr/bin/time counts CPU time in hundredths of a second.
            ratio = "%.1f (%s)" % (h_time / k_time, "%.1f" % (h_cpu / k_cpu) if k_cpu > 0 else "-")
            h_mb = "%.0f" % (h_peak / 1024) if h_peak else "-"
            print("| %d x %d | %s | %.3f (%.3f) | %.0f | %s | %s | %s | %s |"
                  % (shares, periods, label, k_time, k_cpu, k_peak / 1024, highs, h_mb, ratio, note), flush=True)


if __name__ == "__main__":
    main()
