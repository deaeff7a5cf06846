"""ratings.svg: every rated program with its error bar, best at the top, one
colour per cluster."""

import math

from matplotlib.figure import Figure

from .selection import cluster_quotas, top_and_bottom
from .text import count, elo, shown

ROW_BUDGET = 50  # rows that stay readable on one picture
LEGEND_CLUSTERS = 9  # past that, the colours repeat anyway
COLOURS = ["#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
           "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"]


def _rows(clusters):
    """(cluster number, program or None for a gap, programs left out) per
    row, top to bottom, and the clusters left out whole."""
    rows, omitted = [], []
    quotas = cluster_quotas([len(block) for block in clusters], ROW_BUDGET)
    for number, (block, quota) in enumerate(zip(clusters, quotas), 1):
        if quota == 0:
            omitted.append(number)
            continue
        head, left_out, tail = top_and_bottom(block, quota)
        rows += [(number, program, 0) for program in head]
        if left_out:
            rows.append((number, None, left_out))
        rows += [(number, program, 0) for program in tail]
    return rows, omitted


def _notes(run, rows, omitted):
    rated = sum(len(block) for block in run.clusters)
    shown_count = sum(1 for row in rows if row[1] is not None)
    start = elo(run.general.start_elo)
    if not run.clusters:
        notes = ["No program has a match, so none has a rating."]
    elif len(run.clusters) == 1:
        notes = [f"All rated programs form one cluster, centred on the start Elo {start}."]
    else:
        notes = [f"Each of the {len(run.clusters)} clusters is centred on the start Elo "
                 f"{start} on its own: ratings of different clusters cannot be compared."]
    if shown_count < rated:
        notes.append(f"Showing the top and bottom of each cluster: {shown_count} of "
                     f"{rated} rated programs, {rated - shown_count} left out.")
    if omitted:
        notes.append(f"{count(len(omitted), 'cluster')} left out whole, for want of room: "
                     f"numbers {', '.join(map(str, omitted[:12]))}"
                     f"{', ...' if len(omitted) > 12 else ''}.")
    unrated = run.general.programs - rated
    if unrated:
        notes.append(f"{count(unrated, 'program')} without a match and so without a rating.")
    return notes


def _draw_cluster(ax, number, points, colour, size):
    finite = [(y, p) for y, p in points if math.isfinite(p.elo)]
    xs = [p.elo for _, p in finite]
    margins = [p.margin if math.isfinite(p.margin) else 0.0 for _, p in finite]
    ax.errorbar(xs, [y for y, _ in finite], xerr=margins, fmt="o", color=colour,
                markersize=4, capsize=3, elinewidth=1.2,
                label=f"cluster {number} ({count(size, 'program')})")


def draw(run):
    rows, omitted = _rows(run.clusters)
    longest = max((len(shown(r[1].name)) for r in rows if r[1]), default=10)
    # Room for the names (about 0.09 inch a letter), the legend, and a
    # panel at least six and a half inches wide.
    width = max(11.0, 10.1 + 0.09 * min(longest, 80))
    notes = _notes(run, rows, omitted)
    height = 1.9 + 0.24 * max(len(rows), 3) + 0.2 * len(notes)
    figure = Figure(figsize=(width, height))
    ax = figure.add_subplot()
    labels = []
    by_cluster = {}
    for index, (number, program, left_out) in enumerate(rows):
        y = -index
        if program is None:
            labels.append("")
            ax.axhspan(y - 0.5, y + 0.5, color="#eeeeee", linewidth=0)
            ax.text(0.5, y, f"\u22ee {left_out} more of cluster {number} left out \u22ee",
                    transform=ax.get_yaxis_transform(), ha="center", va="center",
                    fontsize=9, style="italic", color="#555555")
            continue
        labels.append(f"{program.rank}  {shown(program.name, 80)}")
        by_cluster.setdefault(number, []).append((y, program))
        if not math.isfinite(program.elo):
            ax.text(run.general.start_elo, y, " rating not a number", va="center", fontsize=8)
    for number, points in by_cluster.items():
        colour = COLOURS[(number - 1) % len(COLOURS)]
        _draw_cluster(ax, number, points, colour, len(run.clusters[number - 1]))
        if len(by_cluster) > 1 and number > 1:
            ax.axhline(points[0][0] + 0.5, color="#999999", linewidth=0.8, linestyle=":")
    ax.axvline(run.general.start_elo, color="#666666", linewidth=0.8, linestyle="--",
               label=f"start Elo {elo(run.general.start_elo)} (centre of each cluster)")
    ticks = [(-i, label) for i, label in enumerate(labels) if label]
    ax.set_yticks([y for y, _ in ticks], [label for _, label in ticks], fontsize=9)
    ax.set_ylim(-len(rows) + 0.4, 0.6)
    ax.grid(axis="x", color="#dddddd", linewidth=0.6)
    ax.set_axisbelow(True)
    ax.set_xlabel("Elo (points; bar: \u00b1 error margin)")
    ax.set_ylabel("rank in cluster, program")
    ax.set_title(f"Ratings: {shown(run.general.database, 60)}")
    handles, legend_labels = ax.get_legend_handles_labels()
    title = None
    if len(by_cluster) > LEGEND_CLUSTERS:
        title = f"colours of the first {LEGEND_CLUSTERS} of {len(by_cluster)} clusters shown"
        handles, legend_labels = handles[: LEGEND_CLUSTERS + 1], legend_labels[: LEGEND_CLUSTERS + 1]
    # Beside the panel, where it covers no error bar.
    ax.legend(handles, legend_labels, loc="upper left", bbox_to_anchor=(1.01, 1.0), fontsize=8,
              title=title, title_fontsize=8)
    bottom = (0.12 + 0.17 * len(notes)) / height
    figure.text(0.01, 0.01, "\n".join(notes), fontsize=8.5, va="bottom", ha="left")
    figure.tight_layout(rect=(0, bottom, 1, 1))
    return figure
