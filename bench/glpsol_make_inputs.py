#!/usr/bin/env python3
"""Writes one random worksheet three times: as a Korvel document, as CSV
(one row per share, which korvel-solve also reads beyond the worksheet's
1000 x 10) and as the same linear program in CPLEX LP format for glpsol.

usage: glpsol_make_inputs.py OUTDIR [SHARES] [PERIODS] [SEED] [MINRETURN]
writes OUTDIR/sheet.csv and OUTDIR/model.lp, and OUTDIR/sheet.kvl when the
worksheet fits a document (at most 1000 shares and 10 periods)
"""
import random
import struct
import sys


def kvl_string(text):
    data = text.encode("utf-8")
    if len(data) < 0xFF:
        return bytes([len(data)]) + data
    if len(data) < 0xFFFF:
        return b"\xff" + struct.pack("<H", len(data)) + data
    return b"\xff\xff\xff" + struct.pack("<I", len(data)) + data


def random_returns(shares, periods, seed):
    """Per-period returns in percent with two decimals, as typed."""
    rng = random.Random(seed)
    rows = []
    for _ in range(shares):
        mean = rng.gauss(1.0, 1.5)
        spread = rng.uniform(0.5, 8.0)
        rows.append(["%.2f" % rng.gauss(mean, spread) for _ in range(periods)])
    return rows


def write_document(path, rows, min_return):
    periods = len(rows[0])
    out = bytearray(struct.pack("<ii", len(rows) + 1, periods + 2))
    out += kvl_string(min_return)
    for i, row in enumerate(rows, start=1):
        out += kvl_string("Share %d" % i)
        for text in row:
            out += kvl_string(text)
    with open(path, "wb") as f:
        f.write(out)


def write_csv(path, rows, min_return):
    periods = len(rows[0])
    lines = ["Name," + ",".join("R%d" % p for p in range(1, periods + 1))]
    for i, row in enumerate(rows, start=1):
        lines.append("Share %d," % i + ",".join(row))
    lines.append("Min Return," + min_return)
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def write_lp(path, rows, min_return):
    """The mean-absolute-deviation model with the same coefficients Korvel
    builds: means summed in period order from 0.0 and divided by M."""
    periods = len(rows[0])
    lines = ["\\ Korvel MAD model", "Minimize"]
    lines.append(" obj: " + " + ".join("u%d + w%d" % (p, p) for p in range(1, periods + 1)))
    lines.append("Subject To")
    values = [[float(t) for t in row] for row in rows]
    means = []
    for row in values:
        total = 0.0
        for v in row:
            total += v
        means.append(total / periods)

    def terms(coefficients):
        parts = []
        for i, c in enumerate(coefficients, start=1):
            if c != 0.0:
                parts.append("%s %r x%d" % ("-" if c < 0 else "+", abs(c), i))
        return " ".join(parts) if parts else "0 x1"

    lines.append(" budget: " + terms([1.0] * len(rows)) + " = 1")
    lines.append(" return: " + terms(means) + " - s = " + repr(float(min_return)))
    for p in range(periods):
        deviations = [values[i][p] - means[i] for i in range(len(rows))]
        lines.append(" period%d: %s + u%d - w%d = 0" % (p + 1, terms(deviations), p + 1, p + 1))
    lines.append("End")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    shares = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    periods = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    min_return = sys.argv[5] if len(sys.argv) > 5 else "1"
    rows = random_returns(shares, periods, seed)
    if shares <= 1000 and periods <= 10:
        write_document(outdir + "/sheet.kvl", rows, min_return)
    write_csv(outdir + "/sheet.csv", rows, min_return)
    write_lp(outdir + "/model.lp", rows, min_return)


if __name__ == "__main__":
    main()
