#!/usr/bin/python3
"""korvel-backtest against the same rolling loop solved with HiGHS (scipy's
linprog), on 10 years of daily prices of 500 shares by default.

Writes the prices with backtest_data.py, times korvel-backtest (on every core
and on one thread) as a process, then a child process that solves the same
windows' least-deviation LP with HiGHS one after the other, and prints median
wall and processor times and the ratios (korvel's include starting the
process and reading the prices; HiGHS's only its loop, each LP's building
included). Checks that each window's deviation of korvel's weights
equals HiGHS's optimum (relative 1e-7).

Needs python3-scipy (Debian), for this benchmark only.

usage: backtest_compare_highs.py [--backtest PATH] [--shares 500] [--days 2521]
                                 [--window 252] [--every 21] [--repeat 3]
                                 [--method highs] [--workdir DIR]
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def read_returns(path):
    """Percent returns from the price columns, as --prices makes them."""
    import numpy as np

    prices = np.loadtxt(path, delimiter=",", skiprows=1, dtype=str)[:, 1:].astype(float)
    return ((prices[1:] / prices[:-1] - 1.0) * 100.0).T  # shares x periods


def window_lp(r):
    """The least-deviation LP of one window in the columns (x, u, w)."""
    import numpy as np
    import scipy.sparse as sp

    shares, periods = r.shape
    mean = r.sum(axis=1) / periods
    dev = (r - mean[:, None]).T
    eye = sp.identity(periods, format="csr")
    a_eq = sp.vstack([sp.hstack([sp.csr_matrix(dev), -eye, eye]),
                      sp.hstack([sp.csr_matrix(np.ones((1, shares))), sp.csr_matrix((1, 2 * periods))])]).tocsc()
    b_eq = np.zeros(periods + 1)
    b_eq[-1] = 1.0
    cost = np.concatenate([np.zeros(shares), np.full(2 * periods, 1.0 / periods)])
    return cost, a_eq, b_eq


def highs_loop(path, window, every, method):
    """Child process: every window solved in turn; prints the seconds of the
    whole loop (building each LP included) and each window's deviation."""
    from scipy.optimize import linprog

    r = read_returns(path)
    periods = r.shape[1]
    start, cpu = time.perf_counter(), time.process_time()
    deviations = []
    for at in range(window, periods, every):
        cost, a_eq, b_eq = window_lp(r[:, at - window:at])
        res = linprog(cost, A_eq=a_eq, b_eq=b_eq, bounds=(0, None), method=method)
        deviations.append(float(res.fun) if res.success else None)
    print(json.dumps({"seconds": time.perf_counter() - start, "cpu": time.process_time() - cpu,
                      "deviations": deviations}))


def timed(argv):
    """Wall seconds, processor seconds (user and system, every thread) and output."""
    start = time.perf_counter()
    with tempfile.TemporaryFile() as out:
        proc = subprocess.Popen(argv, stdout=out)
        _, status, usage = os.wait4(proc.pid, 0)
        seconds = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit("%s failed" % argv[0])
        out.seek(0)
        return seconds, usage.ru_utime + usage.ru_stime, out.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--backtest", default=os.path.join(HERE, "..", "build", "bin", "korvel-backtest"))
    parser.add_argument("--shares", type=int, default=500)
    parser.add_argument("--days", type=int, default=2521)
    parser.add_argument("--window", type=int, default=252)
    parser.add_argument("--every", type=int, default=21)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--method", default="highs")
    parser.add_argument("--workdir", default=None)
    parser.add_argument("--highs-loop", nargs=4, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.highs_loop:
        path, window, every, method = args.highs_loop
        highs_loop(path, int(window), int(every), method)
        return

    import numpy as np

    workdir = args.workdir or tempfile.mkdtemp(prefix="korvel-backtest-bench-")
    path = os.path.join(workdir, "prices-%dx%d.csv" % (args.shares, args.days))
    with open(path, "w") as f:
        subprocess.run([sys.executable, os.path.join(HERE, "backtest_data.py"), str(args.shares), str(args.days), "1"],
                       check=True, stdout=f)
    call = [args.backtest, "--json", "--prices", "--least-risk", "--window", str(args.window), "--every",
            str(args.every), path]
    rows = []
    out = None
    for label, extra in (("korvel-backtest, every core", []), ("korvel-backtest, --threads 1", ["--threads", "1"])):
        runs = [timed(call[:1] + extra + call[1:]) for _ in range(args.repeat)]
        out = runs[-1][2]
        rows.append((label, statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)))
    highs_runs = []
    for _ in range(args.repeat):
        _, _, h_out = timed([sys.executable, __file__, "--highs-loop", path, str(args.window), str(args.every),
                             args.method])
        highs_runs.append(json.loads(h_out))
    highs = highs_runs[-1]
    rows.append(("HiGHS (%s) loop, one process" % args.method, statistics.median(h["seconds"] for h in highs_runs),
                 statistics.median(h["cpu"] for h in highs_runs)))

    r = read_returns(path)
    run = json.loads(out)
    worst = 0.0
    for k, (rebalance, expected) in enumerate(zip(run["rebalances"], highs["deviations"])):
        at = args.window + k * args.every
        x = np.zeros(r.shape[0])
        for share in rebalance["weights"]:
            x[share["row"] - 1] = share["weight"]
        w = r[:, at - args.window:at]
        mean = w.sum(axis=1) / args.window
        deviation = np.abs((w - mean[:, None]).T @ x).sum() / args.window
        worst = max(worst, abs(deviation - expected) / max(abs(expected), 1e-300))
    print("%d shares, %d prices, window %d, every %d: %d rebalances; %s, median of %d runs" %
          (args.shares, args.days, args.window, args.every, len(run["rebalances"]), os.cpu_count() and
           "%d cores" % os.cpu_count(), args.repeat))
    print("%-36s %8s %8s %8s %8s" % ("", "wall s", "x HiGHS", "cpu s", "x HiGHS"))
    for label, seconds, cpu in rows:
        print("%-36s %8.2f %8.1f %8.2f %8.1f" % (label, seconds, rows[-1][1] / seconds, cpu, rows[-1][2] / cpu))
    print("largest relative difference of a window's deviation from HiGHS's optimum: %.2g" % worst)
    if worst > 1e-7:
        sys.exit("korvel-backtest's deviations differ from HiGHS's optimum")


if __name__ == "__main__":
    main()
