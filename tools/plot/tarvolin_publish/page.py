"""index.html: the run on one self-contained page."""

import html

from tarvolin_plot.text import printable

from .page_sections import links, position_table, program_sections
from .page_style import CSS, SCRIPT

RATING_HEADERS = (("rank", "Rank", "n"), ("program", "Program", ""), ("elo", "Elo", "n elo"),
                  ("margin", "+/-", "n"), ("matches", "Matches", "n"), ("score", "Score", "n"),
                  ("average_opponent", "Av.Op.", "n"), ("spos", "S.Pos.", "n"),
                  ("mst1", "MST1", "n"), ("mst2", "MST2", "n"), ("rank_index", "RIndex", "n"))


def text(value):
    """Report text made safe for the page: control characters and bytes that
    were not UTF-8 become '?', markup characters are escaped."""
    return html.escape(printable(str(value)))


def cell(value, kind="", tag="td", key=None):
    classes = f' class="{kind}"' if kind else ""
    sort_key = f' data-key="{text(key)}"' if key is not None else ""
    return f"<{tag}{classes}{sort_key}>{value}</{tag}>"


def _summary(tables):
    rows = "".join(
        f"<tr><th>{text(label)}</th>{cell(text(value), 'n')}<td>{text(remark)}</td></tr>"
        for _key, label, value, remark in tables.summary)
    return f'<section id="summary"><h2>The run</h2><table class="facts">{rows}</table></section>'


def _rating_row(row, anchor):
    figures = {key: text(row.get(key, "")) for key, _title, _kind in RATING_HEADERS}
    figures["program"] = f'<a href="#{anchor}">{text(row["program"])}</a>'
    figures["score"] += " %"
    figures["spos"] = f"{text(row['solved'])}/{text(row['tried'])}"
    for key in ("mst1", "mst2"):
        figures[key] += "s"
    return "<tr>" + "".join(
        cell(figures[key], kind, key=row["solved"] if key == "spos" else None)
        for key, _title, kind in RATING_HEADERS) + "</tr>"


def _ratings(tables, run, anchors):
    head = "".join(cell(title, kind, "th") for _key, title, kind in RATING_HEADERS)
    bodies, index = [], 0
    for number, block in enumerate(run.clusters, 1):
        rows = [_rating_row(row, anchors[index + i])
                for i, row in enumerate(tables.ratings[index:index + len(block)])]
        index += len(block)
        title = (f"Cluster {number}: {len(block)} programs, "
                 f"{run.cluster_matches[number - 1]} matches")
        bodies.append(f'<tbody><tr class="cluster"><th colspan="{len(RATING_HEADERS)}">'
                      f"{title}</th></tr>{''.join(rows)}</tbody>")
    if not bodies:
        bodies.append("<tbody><tr><td>No program has a match, so none has a rating."
                      "</td></tr></tbody>")
    note = ("Click a column header to sort, again to reverse; each cluster is sorted on its "
            "own, since ratings of different clusters are not comparable.")
    return (f'<section id="rating-list"><h2>Ratings</h2><p class="note screen">{note}</p>'
            f'<div class="wide"><table id="ratings"><thead><tr>{head}</tr></thead>'
            f"{''.join(bodies)}</table></div></section>")


def _pictures(svgs):
    figures = "".join(f'<figure id="picture-{name}">{svg}<figcaption>{text(caption)}'
                      f"</figcaption></figure>" for name, caption, svg in svgs)
    return f'<section id="pictures"><h2>Pictures</h2>{figures}</section>'


def render(run, tables, svgs):
    """The page as UTF-8 bytes."""
    anchors = [f"program-{index}" for index in range(1, len(tables.programs) + 1)]
    linked = links(run, tables, anchors)
    title = text(f"Rating list: {run.general.database}")
    nav = "".join(f'<a href="#{target}">{name}</a>' for target, name in (
        ("summary", "Run"), ("rating-list", "Ratings"), ("pictures", "Pictures"),
        ("programs", "Programs"), ("positions", "Positions")))
    parts = [
        '<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8">',
        '<meta name="viewport" content="width=device-width, initial-scale=1">',
        f"<title>{title}</title><style>{CSS}</style></head><body>",
        f"<header><h1>{title}</h1><nav>{nav}</nav></header>",
        _summary(tables), _ratings(tables, run, anchors), _pictures(svgs),
        program_sections(run, tables, anchors, linked), position_table(run, tables, linked),
        f"<script>{SCRIPT}</script></body></html>\n",
    ]
    return "\n".join(parts).encode("utf-8", "replace")
