#!/usr/bin/env python3
"""Draws the chart of the four-bank benchmark file with matplotlib, for the
speed comparison of tools/graph-speed.sh: the same decimated series kaldo
graph plots (read from the CSV brevik_graph_bench --write-inputs writes:
a time column in seconds since 1970 UTC, then one column per subset) in
four stacked axes sharing one date axis, with the title, legends and grid,
into a PNG of 958 x 678 pixels.

usage: graph_matplotlib.py INPUT.csv OUTPUT.png [--title TEXT]
"""
import csv
import datetime
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.dates as mdates  # noqa: E402
import matplotlib.pyplot as plt  # noqa: E402

# The chart's factory colours for channels 1-4: teal, lime, blue, red.
COLOURS = ["#008080", "#00ff00", "#0000ff", "#ff0000"]


def read_series(path):
    with open(path, newline="") as f:
        rows = csv.reader(f)
        header = next(rows)
        times, columns = [], [[] for _ in header[1:]]
        for row in rows:
            times.append(datetime.datetime.fromtimestamp(float(row[0]), tz=datetime.timezone.utc))
            for column, value in zip(columns, row[1:]):
                column.append(float(value))
    return header[1:], times, columns


def main(argv):
    args = [a for a in argv[1:]]
    title = "Bench;site"
    if "--title" in args:
        i = args.index("--title")
        title = args[i + 1]
        del args[i:i + 2]
    if len(args) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    names, times, columns = read_series(args[0])
    figure, axes = plt.subplots(len(columns), 1, sharex=True, figsize=(9.58, 6.78), dpi=100)
    if len(columns) == 1:
        axes = [axes]
    figure.suptitle(title, fontweight="bold")
    for k, (ax, name, values) in enumerate(zip(axes, names, columns)):
        ax.plot(times, values, color=COLOURS[k % 4], linewidth=1.0, label=name)
        ax.grid(True, linestyle=":", color="#008080")
        ax.legend(loc="upper right", fontsize="small")
        ax.yaxis.set_major_formatter(matplotlib.ticker.FormatStrFormatter("%.2f"))
    axes[-1].xaxis.set_major_formatter(mdates.DateFormatter("%d %b\n%Y", tz=datetime.timezone.utc))
    axes[-1].set_xlabel("four.QX1")
    figure.savefig(args[1], dpi=100)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
