#!/usr/bin/env python3
"""Writes a price export for the backtest benchmark: one column of daily
closing prices per share, dates in the first column, business days only.

    bench/backtest_data.py SHARES DAYS SEED > prices.csv
"""
import datetime
import random
import sys


def main():
    shares, days, seed = (int(a) for a in sys.argv[1:4])
    rng = random.Random(seed)
    # A market factor and a few sectors, so that weights differ between windows.
    drift = [rng.uniform(-0.0002, 0.0008) for _ in range(shares)]
    beta = [rng.uniform(0.5, 1.5) for _ in range(shares)]
    sector = [rng.randrange(10) for _ in range(shares)]
    noise = [rng.uniform(0.008, 0.025) for _ in range(shares)]
    prices = [rng.uniform(10.0, 200.0) for _ in range(shares)]
    out = sys.stdout
    out.write("Date," + ",".join("S%03d" % i for i in range(shares)) + "\n")
    day = datetime.date(2014, 1, 1)
    written = 0
    while written < days:
        if day.weekday() < 5:
            market = rng.gauss(0.0, 0.01)
            sectors = [rng.gauss(0.0, 0.006) for _ in range(10)]
            if written:
                for i in range(shares):
                    r = drift[i] + beta[i] * market + sectors[sector[i]] + rng.gauss(0.0, noise[i])
                    prices[i] *= max(0.5, 1.0 + r)
            out.write(day.isoformat() + "," + ",".join("%.2f" % p for p in prices) + "\n")
            written += 1
        day += datetime.timedelta(days=1)


if __name__ == "__main__":
    main()
