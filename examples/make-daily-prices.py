#!/usr/bin/env python3
"""Writes examples/daily-prices.csv: made-up closing prices of six shares on
the weekdays of 2023 and early 2024, newest first as many downloads give them,
with blanks before one share's listing and on a few days a share did not trade.
The numbers come from a seeded random walk, so running it again gives the same
file."""
import datetime
import pathlib
import random

SHARES = ["Alder", "Birch", "Cedar", "Dune", "Elm", "Fjord"]
DRIFT = [0.0006, 0.0002, 0.0004, -0.0001, 0.0005, 0.0003]  # per day
SPREAD = [0.012, 0.018, 0.009, 0.022, 0.015, 0.011]
LISTED = datetime.date(2023, 3, 15)  # Fjord's first trading day

rng = random.Random(24)
day = datetime.date(2023, 1, 2)
prices = [40.0, 25.0, 80.0, 30.0, 60.0, 50.0]
rows = []
while day <= datetime.date(2024, 2, 29):
    if day.weekday() < 5:
        cells = []
        for i, name in enumerate(SHARES):
            prices[i] *= 1.0 + rng.gauss(DRIFT[i], SPREAD[i])
            missing = (name == "Fjord" and day < LISTED) or rng.random() < 0.004
            cells.append("" if missing else f"{prices[i]:.2f}")
        rows.append(day.isoformat() + "," + ",".join(cells))
    day += datetime.timedelta(days=1)

out = pathlib.Path(__file__).with_name("daily-prices.csv")
out.write_text("Date," + ",".join(SHARES) + "\n" + "\n".join(reversed(rows)) + "\n")
