"""The page's per-program sections and its position table, linked both ways:
a program to the positions it solved and failed, a position to the programs
tried on it."""

import html

from tarvolin_plot.text import printable

# Past these, the page would grow beyond what a browser opens comfortably
# (the largest run has a million opponent lines and two million results); the
# exports hold everything, and the page says where to look.
OPPONENT_BUDGET = 20000
LINK_BUDGET = 100000
FOLD_AFTER = 12  # longer lists are folded, to be opened with a click


def _text(value):
    return html.escape(printable(str(value)))


def _fold(summary, body, count):
    if count <= FOLD_AFTER:
        return body
    return f"<details><summary>{summary}</summary>{body}</details>"


def _listings(run):
    """Per program name: [(position number, solved)] in position order, or
    None when the run has more results than the page can link."""
    if sum(position.tried for position in run.positions) > LINK_BUDGET:
        return None
    found = {}
    for position in run.positions:
        for name, mark, _shown in position.listed() or []:
            found.setdefault(name, []).append((position.number, mark != ">"))
    return found


def _position_links(numbers):
    return "".join(f'<a href="#position-{n}">{n}</a> ' for n in numbers)


def _program_links(entries, listing):
    if listing is None:
        return ('<p class="note">The run has too many results to link here: '
                "results.csv lists them.</p>")
    parts = []
    for word, solved in (("Solved", True), ("Failed", False)):
        numbers = [number for number, ok in entries if ok == solved]
        links = f'<span class="links">{_position_links(numbers)}</span>'
        summary = f"{word} {len(numbers)} positions"
        parts.append(f"<p>{word}: " + (_fold(summary, links, len(numbers)) if numbers
                                        else "none") + "</p>")
    return "".join(parts)


def _matches(details, anchors, shown):
    head = ("<tr><th>Opponent</th><th class=n>Matches</th><th class=n>+</th>"
            "<th class=n>=</th><th class=n>-</th><th class=n>Score</th></tr>")

    def row(line, name_cell):
        return (f"<tr><td>{name_cell}</td><td class=n>{line.matches}</td>"
                f"<td class=n>{line.wins}</td><td class=n>{line.draws}</td>"
                f"<td class=n>{line.losses}</td><td class=n>{_text(line.score)} %</td></tr>")

    rows = [row(details.total, "<b>Total</b>")]
    if shown:
        for line in details.opponents:
            anchor = anchors.get(line.opponent)
            name = _text(line.opponent)
            rows.append(row(line, f'<a href="#{anchor}">{name}</a>' if anchor else name))
    table = f'<div class="wide"><table>{head}{"".join(rows)}</table></div>'
    if not shown:
        return table + ('<p class="note">Its results against each of its '
                        f"{len(details.opponents)} opponents are in matches.csv.</p>")
    return _fold(f"Match results against {len(details.opponents)} opponents", table,
                 len(details.opponents))


def _facts(details):
    trend = " / ".join("-" if figure is None else _text(figure) for figure in details.trend)
    figures = details.figures
    rows = (("Trend (easy / middle / hard)", trend),
            ("Solved positions", f"{figures['solved']}/{figures['tried']} "
                                 f"({_text(figures['share'])} %)"),
            ("TimeOffset", f"{_text(figures['offset'])} s"),
            ("MST1", f"{_text(figures['mst1'])} s"), ("MST2", f"{_text(figures['mst2'])} s"),
            ("iMST", f"{_text(figures['imst'])} s"), ("RankIndex", _text(figures["rindex"])))
    return '<table class="facts">' + "".join(
        f"<tr><th>{label}</th><td>{value}</td></tr>" for label, value in rows) + "</table>"


def links(run, tables, anchors):
    """What both parts link by, gathered once: each rated program's anchor by
    name, and the programs' listings (None past the budget)."""
    return dict(zip((row["program"] for row in tables.programs), anchors)), _listings(run)


def program_sections(run, tables, anchors, linked):
    by_name, listing = linked
    opponents_shown = len(tables.matches) <= OPPONENT_BUDGET
    sections = []
    for row, details, anchor in zip(tables.programs, run.programs, anchors):
        sections.append(
            f'<section class="program" id="{anchor}"><h3>{details.rank}. '
            f"{_text(details.name)} &middot; {_text(details.elo)} Elo "
            f'<span class="note">cluster {row["cluster"]}</span></h3>{_facts(details)}'
            f"{_matches(details, by_name, opponents_shown)}"
            f"{_program_links(listing.get(details.name, []) if listing else [], listing)}"
            "</section>")
    return f'<section id="programs"><h2>Programs</h2>{"".join(sections)}</section>'


def _tried_here(position, anchors, listing):
    if listing is None or not position.tried:
        return ""
    links = []
    for name, mark, shown in position.listed():
        anchor = anchors.get(name)
        label = _text(name)
        label = f'<a href="#{anchor}">{label}</a>' if anchor else label
        links.append(f"<li>{label}: {html.escape(mark.strip())}{_text(shown)} s</li>")
    return _fold("programs", f"<ul>{''.join(links)}</ul>", len(links))


def position_table(run, tables, linked):
    by_name, listing = linked
    rows = []
    for row, position in zip(tables.positions, run.positions):
        difficulty = (f"{_text(row['difficulty_elo'])} ({_text(row['difficulty'])})"
                      if row["difficulty_elo"] else "")
        solved = f"{row['solved']} of {row['tried']}" if row["tried"] else "not tested"
        mean = {key: f"{_text(row[key])} s" if row[key] else "-"
                for key in ("mst1", "mst2", "imst")}
        rows.append(
            f'<tr id="position-{row["position"]}"><td class=n>{row["position"]}</td>'
            f'<td>{_text(row["label"])}</td><td class="fen">{_text(row["fen"])}</td>'
            f"<td>{solved}{_tried_here(position, by_name, listing)}</td>"
            f"<td class=n>{mean['mst1']}</td><td class=n>{mean['mst2']}</td>"
            f"<td class=n>{mean['imst']}</td><td class=n>{difficulty}</td></tr>")
    head = ("<tr><th class=n>No.</th><th>Label</th><th>FEN</th><th>Solved by</th>"
            "<th class=n>MST1</th><th class=n>MST2</th><th class=n>iMST</th>"
            "<th class=n>Difficulty (Elo)</th></tr>")
    return (f'<section id="positions"><h2>Positions</h2><div class="wide">'
            f'<table id="position-table"><thead>{head}</thead><tbody>{"".join(rows)}'
            "</tbody></table></div></section>")
