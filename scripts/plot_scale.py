#!/usr/bin/env python3
"""Draws the benchmark's scale pass as an SVG: milliseconds against items, both axes logarithmic.

Usage: plot_scale.py <out.svg> <scale.csv>...
Each CSV (popup_bench --scale ... --csv) holds one build's medians: build,items,native,floor,cold,warm.
Every build gets the four lines in the same colours; the first build is drawn solid, the next dashed.
"""
import csv
import math
import sys

SERIES = [("native", "native menu", "#444444"), ("floor", "minimal owner-drawn (floor)", "#1f77b4"),
          ("cold", "ours, cold", "#d62728"), ("warm", "ours, warm", "#2ca02c")]
DASHES = ["", "6,4", "2,3"]
WIDTH, HEIGHT = 760, 520
LEFT, RIGHT, TOP, BOTTOM = 70, 220, 40, 60


def read(paths):
    builds = []
    for path in paths:
        with open(path, newline="") as f:
            rows = list(csv.DictReader(f))
        if rows:
            builds.append((rows[0]["build"], [{k: (v if k == "build" else float(v)) for k, v in r.items()} for r in rows]))
    return builds


def decades(lo, hi):
    return list(range(math.floor(math.log10(lo)), math.ceil(math.log10(hi)) + 1))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    builds = read(sys.argv[2:])
    if not builds:
        sys.exit("plot_scale: no data")
    xs = [r["items"] for _, rows in builds for r in rows]
    ys = [r[key] for _, rows in builds for r in rows for key, _, _ in SERIES if r[key] > 0]
    xd, yd = decades(min(xs), max(xs)), decades(min(ys), max(ys))
    plot_w, plot_h = WIDTH - LEFT - RIGHT, HEIGHT - TOP - BOTTOM

    def px(x):
        return LEFT + (math.log10(x) - xd[0]) / (xd[-1] - xd[0]) * plot_w

    def py(y):
        return TOP + plot_h - (math.log10(y) - yd[0]) / (yd[-1] - yd[0]) * plot_h

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
           f'font-family="sans-serif" font-size="12">',
           f'<rect width="{WIDTH}" height="{HEIGHT}" fill="white"/>',
           f'<text x="{LEFT}" y="22" font-size="14">Pop-up until measured, painted and idle '
           f'(median ms) against items</text>']
    for d in xd:
        x = px(10 ** d)
        out.append(f'<line x1="{x:.1f}" y1="{TOP}" x2="{x:.1f}" y2="{TOP + plot_h}" stroke="#dddddd"/>')
        out.append(f'<text x="{x:.1f}" y="{TOP + plot_h + 18}" text-anchor="middle">{10 ** d:,}</text>')
    for d in yd:
        y = py(10 ** d)
        out.append(f'<line x1="{LEFT}" y1="{y:.1f}" x2="{LEFT + plot_w}" y2="{y:.1f}" stroke="#dddddd"/>')
        out.append(f'<text x="{LEFT - 6}" y="{y + 4:.1f}" text-anchor="end">{10 ** d:g}</text>')
    out.append(f'<rect x="{LEFT}" y="{TOP}" width="{plot_w}" height="{plot_h}" fill="none" stroke="black"/>')
    out.append(f'<text x="{LEFT + plot_w / 2}" y="{HEIGHT - 18}" text-anchor="middle">items</text>')
    out.append(f'<text x="18" y="{TOP + plot_h / 2}" text-anchor="middle" '
               f'transform="rotate(-90 18 {TOP + plot_h / 2})">ms</text>')

    legend_y = TOP + 10
    for index, (build, rows) in enumerate(builds):
        dash = DASHES[index % len(DASHES)]
        dash_attr = f' stroke-dasharray="{dash}"' if dash else ""
        for key, name, colour in SERIES:
            points = " ".join(f"{px(r['items']):.1f},{py(r[key]):.1f}" for r in rows if r[key] > 0)
            out.append(f'<polyline points="{points}" fill="none" stroke="{colour}" stroke-width="2"{dash_attr}/>')
            lx = LEFT + plot_w + 16
            out.append(f'<line x1="{lx}" y1="{legend_y}" x2="{lx + 28}" y2="{legend_y}" stroke="{colour}" '
                       f'stroke-width="2"{dash_attr}/>')
            out.append(f'<text x="{lx + 34}" y="{legend_y + 4}">{name} ({build})</text>')
            legend_y += 18
        legend_y += 8
    out.append("</svg>")
    with open(sys.argv[1], "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
