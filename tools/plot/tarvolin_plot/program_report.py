"""programs.dat: per rated program its Trend figures, time statistics and
match results, in the order and with the ranks of rating.dat."""

import re
from dataclasses import dataclass, field

from .errors import InputError, read_text

_HEADER = (
    "Individual statistics: programs\n"
    "\nMST1     : Mean solution time (solved positions only)\n"
    "MST2     : Mean solution time (solved and unsolved positions)\n"
    "iMST     : Internal mean solution time (using estimated values for unsolved positions)\n"
    "RankIndex: Score according to solution time ranking for each position\n"
)
# Names hold no blanks, and no line of a section is empty twice in a row, so
# three line ends part the sections.
_TITLE = re.compile(r"(?P<rank>\d+) (?P<name>[^ ]*) +\((?P<elo>\S+) Elo\) Trend: (?P<trend>.*)")
_FIGURES = re.compile(
    r"\nSolved positions: +(?P<solved>\d+)/ *(?P<tried>\d+) +\((?P<share>\S+) %\)"
    r"\nTimeOffset +: +(?P<offset>\S+) s\nMST1 +: +(?P<mst1>\S+) s\nMST2 +: +(?P<mst2>\S+) s"
    r"\niMST +: +(?P<imst>\S+) s\nRankIndex +: +(?P<rindex>\S+)\n\nMatch results:\n"
)
_MATCHES = r": +(\d+) \(\+ *(\d+),= *(\d+),- *(\d+)\), +(\S+) %"
_TOTAL = re.compile("Total +" + _MATCHES)
_OPPONENT = re.compile("(.*?) *" + _MATCHES)
# T1 is " %+.1f " or " - "; T2 and T3 are " %c %+.1f " or " - ".
_TREND = re.compile(r" - | ([+-]\S+) | [<>=] ([+-]\S+) ")


@dataclass
class MatchLine:
    """Matches against one opponent (or in all), as printed."""

    opponent: str
    matches: int
    wins: int
    draws: int
    losses: int
    score: str


@dataclass
class ProgramDetails:
    rank: int
    name: str
    elo: str  # all figures as printed
    trend: list  # three figures, None where the report shows "-"
    figures: dict = field(default_factory=dict)  # solved, tried, share, offset, mst1, ...
    total: MatchLine = None
    opponents: list = field(default_factory=list)


def _trend(path, text):
    """The three figures after "Trend: "; only the second and third carry a
    comparison character."""
    figures, position = [], 0
    while len(figures) < 3:
        match = _TREND.match(text, position)
        if match is None or (match[2] if not figures else match[1]) is not None:
            raise InputError(path, f"unreadable Trend '{text[:40]}'")
        figures.append(match[1] or match[2])
        position = match.end()
    if position != len(text):
        raise InputError(path, f"unreadable Trend '{text[:40]}'")
    return figures


def _match_line(line, opponent):
    found = (_OPPONENT if opponent else _TOTAL).fullmatch(line)
    if found is None:
        return None
    numbers = found.groups()[1:] if opponent else found.groups()
    return MatchLine(found[1] if opponent else "Total", *map(int, numbers[:4]), numbers[4])


def _section(path, number, text):
    title_line, _, rest = text.partition("\n")
    title = _TITLE.fullmatch(title_line)
    figures = _FIGURES.match(rest)
    if title is None or figures is None:
        raise InputError(path, f"section {number} is unreadable or cut short")
    details = ProgramDetails(int(title["rank"]), title["name"], title["elo"],
                             _trend(path, title["trend"]), figures.groupdict())
    lines = rest[figures.end():].split("\n")
    if len(lines) < 4 or lines[1] != "" or lines[-1] != "":
        raise InputError(path, f"section {number} ({details.name}) is cut short")
    details.total = _match_line(lines[0], False)
    details.opponents = [_match_line(line, True) for line in lines[2:-1]]
    if details.total is None or None in details.opponents:
        raise InputError(path, f"section {number} ({details.name}): unreadable match results")
    return details


def read_programs(path):
    """The sections in the order of the file."""
    text = read_text(path)
    if not text.startswith(_HEADER):
        raise InputError(path, "not a programs.dat written by tarvolin")
    body = text[len(_HEADER):]
    if body == "":
        return []
    if not body.startswith("\n\n"):
        raise InputError(path, "not a programs.dat written by tarvolin")
    sections = body[2:].split("\n\n\n")
    # The split took the line end of each section's last line but the file's.
    return [_section(path, number, section + ("\n" if number < len(sections) else ""))
            for number, section in enumerate(sections, 1)]
