"""positions.svg: the positions from easiest to hardest by their difficulty
figure, and how many programs solved each."""

import math

from matplotlib.figure import Figure
from matplotlib.ticker import MaxNLocator

from .text import count, shown

HARDEST = 5  # solved positions labelled as the hardest
LABELS = 10  # labels that fit beside the points


def _marked(ordered):
    """The positions to label: every one nobody solved (as many as fit), then
    the hardest that someone solved, about one in eight of a small suite."""
    unsolved = [p for p in reversed(ordered) if p.solved == 0]
    hardest_count = min(HARDEST, math.ceil(len(ordered) / 8))
    hardest = [p for p in reversed(ordered) if p.solved > 0][:hardest_count]
    room = max(LABELS - len(hardest), LABELS // 2)
    return unsolved[:room], len(unsolved) - len(unsolved[:room]), hardest[: LABELS - len(unsolved[:room])]


def _label(ax, index, position, x, y, colour):
    name = f"#{position.number} {shown(position.label, 24)}".rstrip()
    text = f"{name}: {position.difficulty:+.1f} Elo, solved by {position.solved}/{position.tried}"
    # Beside the panel, where the hardest positions end anyway: the labels
    # never cover a point.
    ax.annotate(text, xy=(x, y), xytext=(1.05, 0.96 - 0.09 * index), textcoords="axes fraction",
                fontsize=8, color=colour, va="center", annotation_clip=False,
                arrowprops={"arrowstyle": "-", "color": colour, "linewidth": 0.6, "alpha": 0.7,
                            "relpos": (0.0, 0.5), "shrinkA": 2, "shrinkB": 3})


def draw(run):
    tried = [p for p in run.positions if p.tried > 0 and math.isfinite(p.difficulty)]
    ordered = sorted(tried, key=lambda p: (p.difficulty, p.number))
    xs = list(range(1, len(ordered) + 1))
    unsolved, unlabelled, hardest = _marked(ordered)
    figure = Figure(figsize=(13.0, 8.0))
    top, bottom = figure.subplots(2, 1, sharex=True, gridspec_kw={"height_ratios": [3, 2]})
    place = {p.number: x for x, p in zip(xs, ordered)}
    others = [p for p in ordered if p.solved > 0 and p not in hardest]
    size = 14 if len(ordered) <= 200 else 5
    top.scatter([place[p.number] for p in others], [p.difficulty for p in others], s=size,
                color="#1f77b4", label="solved by someone")
    top.scatter([place[p.number] for p in hardest], [p.difficulty for p in hardest], s=30,
                color="#ff7f0e", label=("the hardest solved by someone" if len(hardest) == 1
                       else f"the {len(hardest)} hardest solved by someone"), zorder=3)
    nobody = [p for p in ordered if p.solved == 0]
    top.scatter([place[p.number] for p in nobody], [p.difficulty for p in nobody], s=36,
                marker="X", color="#d62728", label=f"solved by nobody ({len(nobody)})", zorder=3)
    # Top to bottom as the points lie, so that the leader lines do not cross.
    labelled = sorted(unsolved + hardest, key=lambda p: (-p.difficulty, p.number))
    for index, position in enumerate(labelled):
        colour = "#d62728" if position.solved == 0 else "#c05000"
        _label(top, index, position, place[position.number], position.difficulty, colour)
    if unlabelled:
        top.text(1.05, 0.96 - 0.09 * (len(unsolved) + len(hardest)),
                 f"\u2026 and {unlabelled} more solved by nobody", transform=top.transAxes,
                 fontsize=8, color="#d62728", va="center")
    if not ordered:
        top.text(0.5, 0.5, "No position was tried by any program.", transform=top.transAxes,
                 ha="center", va="center")
    top.axhline(0.0, color="#888888", linewidth=0.7, linestyle="--")
    top.set_ylabel("difficulty (Elo; 0 = the run's MST2,\n+50 per doubling)")
    top.legend(loc="upper left", fontsize=8.5)
    top.grid(color="#e4e4e4", linewidth=0.6)
    top.set_title(f"Positions by difficulty: {shown(run.general.database, 60)}")
    # Each position one bar wide, the outer ones included.
    edges = [0.5] + xs + [len(xs) + 0.5]
    for key, colour, label in (("tried", "#cccccc", "programs tried"),
                               ("solved", "#1f77b4", "programs that solved it")):
        heights = [getattr(p, key) for p in ordered]
        heights = heights[:1] + heights + heights[-1:] if heights else [0, 0]
        bottom.fill_between(edges, heights, step="mid", color=colour, label=label)
    bottom.set_ylim(0, max([p.tried for p in ordered], default=1) * 1.05)
    bottom.set_xlim(0.5, max(len(ordered), 1) + 0.5)
    bottom.set_ylabel("programs")
    bottom.xaxis.set_major_locator(MaxNLocator(integer=True))
    bottom.yaxis.set_major_locator(MaxNLocator(integer=True))
    bottom.set_xlabel("positions, easiest to hardest (rank by difficulty)")
    bottom.legend(loc="upper right", fontsize=8.5)
    bottom.grid(axis="y", color="#e4e4e4", linewidth=0.6)
    left_out = len(run.positions) - len(ordered)
    notes = ["Difficulty from positions.dat: the position's MST2 against the whole run's, "
             "50 Elo per doubling."]
    if left_out:
        notes.append(f"{count(left_out, 'position')} without a tested program (or a "
                     f"difficulty figure) left out.")
    figure.text(0.01, 0.01, "\n".join(notes), fontsize=8.5, va="bottom", ha="left")
    figure.tight_layout(rect=(0, (0.12 + 0.17 * len(notes)) / 8.0, 1, 1))
    return figure
