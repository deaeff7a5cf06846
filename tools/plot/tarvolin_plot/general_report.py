"""general.dat: the database name, its size and the start Elo."""

import re
from dataclasses import dataclass, field

from .errors import InputError, read_text

# The file is written in one go; its last line is the start Elo, so a file
# without it was cut short.
_LAYOUT = re.compile(
    r"\nDatabase  :   (?P<name>.*)"
    r"\nPrograms  : +(?P<programs>\d+)"
    r"\nPositions : +(?P<positions>\d+) \(tested: +(?P<tested>\d+)\)\n"
    r"\n(?P<means>MST1 .*\nMST2 .*\niMST .*)\n"
    r"\nMatches\n\n(?P<matches>(?:.*\n){5})"
    r"\nStart Elo : +(?P<start>\S+)\n",
    re.DOTALL,
)

_EVALUATED = re.compile(r"^evaluated : +(\d+)/", re.MULTILINE)


@dataclass
class General:
    database: str
    programs: int
    positions: int
    tested_positions: int
    start_elo: float
    # The means and the match counts as printed, for the page's summary.
    means: list = field(default_factory=list)
    match_lines: list = field(default_factory=list)
    evaluated: int = -1  # the run's matches, -1 where the line is unreadable


def _evaluated(lines):
    found = _EVALUATED.search(lines)
    return int(found[1]) if found else -1


def read_general(path):
    text = read_text(path)
    match = _LAYOUT.fullmatch(text)
    if match is None:
        if "\nDatabase  :" in text[:20] and "\nStart Elo :" not in text:
            raise InputError(path, "truncated: the start Elo line is missing")
        raise InputError(path, "not a general.dat written by tarvolin")
    try:
        start_elo = float(match["start"])
    except ValueError:
        raise InputError(path, f"start Elo '{match['start']}' is not a number") from None
    return General(
        database=match["name"],
        programs=int(match["programs"]),
        positions=int(match["positions"]),
        tested_positions=int(match["tested"]),
        start_elo=start_elo,
        means=match["means"].split("\n"),
        match_lines=match["matches"].rstrip("\n").split("\n"),
        evaluated=_evaluated(match["matches"]),
    )
