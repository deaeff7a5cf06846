"""solved.svg: per program the share of its positions solved within t
seconds, t on a log scale: the solution curve."""

import math
import os

from matplotlib.figure import Figure
from matplotlib.ticker import FuncFormatter

from .selection import top_and_bottom
from .text import count, shown

KEEP = 14  # curves that can still be told apart
COLOURS = ["#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
           "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"]


def _order(times):
    """Most solved first; among equal shares the faster solver first."""
    def key(entry):
        mean = sum(entry.solved) / len(entry.solved) if entry.solved else float("inf")
        return (-len(entry.solved) / entry.tried, mean, entry.name)
    return sorted(times, key=key)


def _curve(entry, right_end):
    """A step up at each solution time, flat to the right end (where times
    beyond any scale end too)."""
    shares = [100.0 * k / entry.tried for k in range(len(entry.solved) + 1)]
    return [1.0] + [min(t, right_end) for t in entry.solved] + [right_end], shares + [shares[-1]]


def _ticks(right_end):
    """1, 2, 5, 10, 20, ... up to the right end, which is labelled too."""
    if right_end > 1e6:
        return None  # beyond any time a person waits: the axis picks decades
    ticks, decade = [], 1.0
    while decade <= right_end:
        ticks += [step * decade for step in (1, 2, 5) if step * decade < right_end * 0.8]
        decade *= 10.0
    return ticks + [right_end]


def _notes(run, left_out, total):
    if run.times_from.endswith("positions.dat"):
        notes = ["Times from positions.dat (no result file given or found beside the reports): "
                 "as the rating used them, to 0.01 s."]
    elif run.offsets_from:
        notes = [f"Times from {shown(os.path.basename(run.times_from), 40)}, each program's offset "
                 "from Offset.pgn taken off and raised to at least 1 s, as the rating uses them."]
    else:
        notes = [f"Times from {shown(os.path.basename(run.times_from), 40)} (no Offset.pgn beside "
                 "it), raised to at least 1 s, as the rating uses them."]
    if left_out:
        notes.append(f"Showing the {KEEP // 2} programs with the largest and the "
                     f"{KEEP - (KEEP + 1) // 2} with the smallest share solved: "
                     f"{left_out} of {total} programs left out.")
    return notes


def draw(run):
    ordered = _order(run.times)
    head, left_out, tail = top_and_bottom(ordered, KEEP)
    ends = [run.largest_limit, 2.0] + [e.solved[-1] for e in ordered if e.solved]
    largest = max(end for end in ends if math.isfinite(end))
    # A little room past the largest time, so that a last step there shows.
    right_end = largest * 1.15
    notes = _notes(run, left_out, len(ordered))
    longest = max((len(shown(e.name, 40)) for e in head + tail), default=10)
    # The legend holds the name and some 18 letters of figures.
    figure = Figure(figsize=(max(10.0, 8.0 + 0.075 * (longest + 18)), 6.2 + 0.2 * len(notes)))
    ax = figure.add_subplot()
    for index, entry in enumerate(head + tail):
        xs, ys = _curve(entry, right_end)
        label = (f"{shown(entry.name, 40)}: {len(entry.solved)}/{entry.tried} "
                 f"({100.0 * len(entry.solved) / entry.tried:.0f} %)")
        # Each curve thinner than the one before and drawn over it, so that
        # curves which run together still show.
        width = 3.0 - 1.8 * index / max(len(head) + len(tail) - 1, 1)
        ax.step(xs, ys, where="post", color=COLOURS[index % len(COLOURS)], zorder=2 + index,
                linestyle="-" if index < len(head) else "--", linewidth=width, label=label)
    ax.axvline(largest, color="#888888", linewidth=0.8, linestyle=":")
    ax.set_xscale("log")
    ax.set_xlim(1.0, right_end)
    ax.set_ylim(0, 100)
    if _ticks(largest):
        ax.set_xticks(_ticks(largest))
    ax.xaxis.set_major_formatter(FuncFormatter(lambda value, _: f"{value:.3g}"))
    ax.xaxis.set_minor_formatter(FuncFormatter(lambda value, _: ""))
    ax.grid(which="both", color="#e4e4e4", linewidth=0.6)
    ax.set_xlabel(f"time t (seconds, log scale; dotted: the largest time, {largest:.4g} s)")
    ax.set_ylabel("solved within t (% of the positions tried)")
    ax.set_title(f"Solved within t seconds: {shown(run.general.database, 60)}")
    title = (f"best {len(head)} / worst {len(tail)} (dashed)" if left_out
             else count(len(head), "program"))
    if ordered:
        ax.legend(loc="upper left", bbox_to_anchor=(1.01, 1.0), fontsize=8.5, title=title,
                  title_fontsize=9)
    else:
        ax.text(0.5, 0.5, "No program was tried on any position.", transform=ax.transAxes,
                ha="center", va="center")
    figure.text(0.01, 0.01, "\n".join(notes), fontsize=8.5, va="bottom", ha="left")
    figure.tight_layout(rect=(0, (0.12 + 0.17 * len(notes)) / figure.get_figheight(), 1, 1))
    return figure
