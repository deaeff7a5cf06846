"""rating.dat: one block per cluster, programs in descending rating."""

import re
from dataclasses import dataclass, field

from .errors import InputError, read_text

_HEADER = (
    "\n\n    Program " + " " * 34
    + " Elo   +/-  Matches  Score   Av.Op.   S.Pos.   MST1    MST2   RIndex\n\n"
)
# Written after the last block; a file without it was cut short.
_LEGEND = (
    "\n\n\nMST1  : Mean solution time (solved positions only)\n"
    "MST2  : Mean solution time (solved and unsolved positions)\n"
    "RIndex: Score according to solution time ranking for each position\n"
)
# Names hold no blanks (the run drops them), so the name is the field after
# the rank; figures may read nan or inf when offsets went out of range.
_ROW = re.compile(
    r" *(?P<rank>\d+) (?P<name>[^ ]*) +: +(?P<elo>\S+) +(?P<margin>\S+)"
    r" +(?P<matches>\d+) +(?P<score>\S+) % +(?P<av_op>\S+)"
    r" +(?P<solved>\d+)/ *(?P<tried>\d+) +(?P<mst1>\S+)s +(?P<mst2>\S+)s"
    r" +(?P<rindex>\S+)"
)

PRINTED = ("elo", "margin", "matches", "score", "av_op", "solved", "tried", "mst1", "mst2",
           "rindex")


@dataclass
class RatedProgram:
    rank: int
    name: str
    elo: float
    margin: float
    matches: int
    score: float
    solved: int
    tried: int
    # Every figure as the row prints it (without padding, '%' or 's').
    printed: dict = field(default_factory=dict)


def _row(path, line, expected_rank):
    match = _ROW.fullmatch(line)
    if match is None:
        raise InputError(path, f"unreadable row '{line[:60]}'")
    if int(match["rank"]) != expected_rank:
        raise InputError(path, f"rank {match['rank']} where {expected_rank} was due")
    try:
        numbers = [float(match[key]) for key in ("elo", "margin", "score")]
    except ValueError:
        raise InputError(path, f"unreadable figures in row '{line[:60]}'") from None
    return RatedProgram(
        rank=expected_rank,
        name=match["name"],
        elo=numbers[0],
        margin=numbers[1],
        matches=int(match["matches"]),
        score=numbers[2],
        solved=int(match["solved"]),
        tried=int(match["tried"]),
        printed={key: match[key] for key in PRINTED},
    )


def read_rating(path):
    """The clusters in report order, each a list of RatedProgram, best first."""
    text = read_text(path)
    if not text.endswith(_LEGEND):
        raise InputError(path, "truncated: the closing legend is missing")
    blocks = text[: -len(_LEGEND)].split(_HEADER)
    if blocks[0] != "":
        raise InputError(path, "not a rating.dat written by tarvolin")
    clusters = []
    for block in blocks[1:]:
        if not block.endswith("\n"):
            raise InputError(path, "a cluster block ends inside a row")
        lines = block[:-1].split("\n")
        clusters.append([_row(path, line, rank) for rank, line in enumerate(lines, 1)])
    return clusters
