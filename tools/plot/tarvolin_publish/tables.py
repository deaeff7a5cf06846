"""A run as the rows that the page and the exports share: every figure as
the reports print it, so that a spreadsheet shows what rating.dat shows."""

import re
from dataclasses import dataclass, field

RATING_COLUMNS = ("rank", "cluster", "program", "elo", "margin", "matches", "score",
                  "average_opponent", "solved", "tried", "mst1", "mst2", "rank_index")
PROGRAM_COLUMNS = ("rank", "cluster", "program", "elo", "trend_easy", "trend_middle",
                   "trend_hard", "solved", "tried", "solved_share", "time_offset", "mst1",
                   "mst2", "imst", "rank_index", "matches", "wins", "draws", "losses", "score")
MATCH_COLUMNS = ("program", "opponent", "matches", "wins", "draws", "losses", "score")
POSITION_COLUMNS = ("position", "label", "fen", "solved", "tried", "mst1", "mst2", "imst",
                    "estimated", "difficulty_elo", "difficulty")
RESULT_COLUMNS = ("position", "label", "fen", "program", "time", "solved")
_MEAN = re.compile(r"(MST1|MST2|iMST) +: +(\S+) s \((.*)\)")
_SHARE = re.compile(r"(\S+) *: +(\S+)/(\S+) -> +(\S+) %")
# rating.dat's printed figures under the names of the exports.
_RATING_FIGURES = {"elo": "elo", "margin": "margin", "matches": "matches", "score": "score",
                   "average_opponent": "av_op", "solved": "solved", "tried": "tried",
                   "mst1": "mst1", "mst2": "mst2", "rank_index": "rindex"}


@dataclass
class Tables:
    ratings: list = field(default_factory=list)  # dicts over RATING_COLUMNS, by cluster
    programs: list = field(default_factory=list)  # dicts over PROGRAM_COLUMNS
    matches: list = field(default_factory=list)  # dicts over MATCH_COLUMNS
    positions: list = field(default_factory=list)  # dicts over POSITION_COLUMNS
    results: object = None  # a function giving the dicts over RESULT_COLUMNS, one by one
    results_from: str = ""  # the file the times of results come from
    summary: list = field(default_factory=list)  # (key, label, value, remark) of general.dat


def _summary(general):
    """general.dat line by line: the figures as printed, with what they mean."""
    rows = [("database", "Database", general.database, ""),
            ("programs", "Programs", str(general.programs), ""),
            ("positions", "Positions", str(general.positions), ""),
            ("tested_positions", "Tested positions", str(general.tested_positions), "")]
    for line in general.means:
        mean = _MEAN.fullmatch(line)
        if mean:
            rows.append((mean[1].lower(), mean[1], mean[2] + " s", mean[3]))
    for line in general.match_lines:
        share = _SHARE.fullmatch(line)
        if share:
            rows.append((share[1], "Matches " + share[1], f"{share[2]}/{share[3]}",
                         share[4] + " %"))
    rows.append(("start_elo", "Start Elo", "%.0f" % general.start_elo, ""))
    return rows


def _ratings(run):
    return [dict(rank=program.rank, cluster=number, program=program.name,
                 **{column: program.printed[key] for column, key in _RATING_FIGURES.items()})
            for number, block in enumerate(run.clusters, 1) for program in block]


def _programs(run, ratings):
    rows, matches = [], []
    for rating, details in zip(ratings, run.programs):
        figures, total = details.figures, details.total
        trend = ["" if figure is None else figure for figure in details.trend]
        rows.append(dict(
            rank=details.rank, cluster=rating["cluster"], program=details.name, elo=details.elo,
            trend_easy=trend[0], trend_middle=trend[1], trend_hard=trend[2],
            solved=figures["solved"], tried=figures["tried"], solved_share=figures["share"],
            time_offset=figures["offset"], mst1=figures["mst1"], mst2=figures["mst2"],
            imst=figures["imst"], rank_index=figures["rindex"], matches=total.matches,
            wins=total.wins, draws=total.draws, losses=total.losses, score=total.score))
        matches += [dict(program=details.name, opponent=line.opponent, matches=line.matches,
                         wins=line.wins, draws=line.draws, losses=line.losses, score=line.score)
                    for line in details.opponents]
    return rows, matches


def _positions(run):
    rows = []
    for position in run.positions:
        printed = position.printed or dict.fromkeys(
            ("mst1", "mst2", "imst", "estimated", "elo", "difficulty"), "")
        rows.append(dict(
            position=position.number, label=position.label, fen=position.fen.rstrip(" "),
            solved=position.solved, tried=position.tried, mst1=printed["mst1"],
            mst2=printed["mst2"], imst=printed["imst"], estimated=printed["estimated"],
            difficulty_elo=printed["elo"], difficulty=printed["difficulty"]))
    return rows


def _results(run, positions):
    """From the result file where the run has one: the corrected times as the
    rating uses them, in full; else from positions.dat's listings, to 0.01 s.
    Made one at a time: the largest run has two million of them."""
    for row, position in zip(positions, run.positions):
        head = dict(position=row["position"], label=row["label"], fen=row["fen"])
        if run.result is not None:
            times = run.result.times[position.number - 1]
            for program, time in sorted(times.items()):
                yield dict(head, program=run.result.programs[program], time=repr(abs(time)),
                           solved=int(time >= 0.0))
        else:
            for name, mark, shown in position.listed() or []:
                yield dict(head, program=name, time=shown, solved=int(mark != ">"))


def build(run):
    """The rows of a run loaded with its programs.dat."""
    tables = Tables(ratings=_ratings(run), positions=_positions(run),
                    summary=_summary(run.general))
    tables.programs, tables.matches = _programs(run, tables.ratings)
    tables.results = lambda: _results(run, tables.positions)
    tables.results_from = run.times_from
    return tables
