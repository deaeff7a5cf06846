"""positions.dat: per position its label, how many solved it, its difficulty
and the listing of every program tried on it."""

import re
from dataclasses import dataclass, field

from .errors import InputError, read_text

_HEADER = (
    "Individual statistics: positions\n\n"
    "MST1  : Mean solution time (only programs solving the position)\n"
    "MST2  : Mean solution time (also programs not solving the position)\n"
    "iMST  : Internal mean solution time (using estimated time for unsolved results)"
)
_COUNTS = re.compile(r"Solved by (\d+) of (\d+) programs")
_DIFFICULTY = re.compile(r"Degree of difficulty \(based on MST2\): (\S+) \((\S+)\) Elo")
_MEAN = re.compile(r"(MST1|MST2|iMST): +(?:(\S+) s|-)(?: \(estimated: (\S+) s\))?")
# Names hold no blanks, so the last ": " of a line is the one after the name.
_LISTED = re.compile(r"(.*): ([ <>]) *(\S+) s")


@dataclass
class Position:
    number: int
    label: str
    fen: str
    solved: int = 0
    tried: int = 0
    difficulty: float = float("nan")
    # mst1, mst2, imst, estimated, elo (the difficulty on the Elo scale) as
    # printed; "" where the report shows none.
    printed: dict = field(default_factory=dict)
    # The listing lines as written; parsed on demand, since at full size the
    # report holds two million of them.
    listing: str = ""
    longest: float = 0.0  # the largest time listed, a limit or a solution

    def listed(self):
        """(name, mark, time as printed) for every program tried here."""
        if not self.listing:
            return []
        out = []
        for line in self.listing.split("\n"):
            match = _LISTED.fullmatch(line)
            if match is None:
                return None
            out.append((match[1].rstrip(" "), match[2], match[3]))
        return out


def _printed(path, number, mean_lines, difficulty):
    printed = {"estimated": "", "elo": difficulty[1], "difficulty": difficulty[2]}
    for key, line in zip(("MST1", "MST2", "iMST"), mean_lines):
        mean = _MEAN.fullmatch(line)
        if mean is None or mean[1] != key:
            raise InputError(path, f"position {number} is unreadable")
        printed[key.lower()] = mean[2] or ""
        printed["estimated"] = printed["estimated"] or (mean[3] or "")
    return printed


def _section(path, number, body):
    label, sep, rest = body.partition("\nFEN: ")
    if not sep:
        raise InputError(path, f"position {number}: the FEN line is missing")
    if rest.endswith("\nNot tested yet!\n") and "\nSolved by " not in rest:
        return Position(number, label, rest[: -len("\nNot tested yet!\n")])
    fen, sep, tail = rest.rpartition("\nSolved by ")
    lines = ("Solved by " + tail).split("\n", 6) if sep else []
    if len(lines) < 7 or lines[5] != "":
        raise InputError(path, f"truncated at position {number}")
    counts = _COUNTS.fullmatch(lines[0])
    difficulty = _DIFFICULTY.fullmatch(lines[4])
    if counts is None or difficulty is None:
        raise InputError(path, f"position {number} is unreadable")
    position = Position(number, label, fen, int(counts[1]), int(counts[2]))
    try:
        position.difficulty = float(difficulty[2])
    except ValueError:
        raise InputError(path, f"position {number}: unreadable difficulty") from None
    position.printed = _printed(path, number, lines[1:4], difficulty)
    position.listing = lines[6]
    if position.solved > position.tried or lines[6].count("\n") + 1 != position.tried:
        raise InputError(path, f"truncated at position {number}: its listing is incomplete")
    listed = position.listed()
    if listed is None:
        raise InputError(path, f"truncated at position {number}: a listing line is cut")
    try:
        position.longest = max(float(shown) for _name, _mark, shown in listed)
    except ValueError:
        raise InputError(path, f"position {number}: a time is not a number") from None
    return position


def read_positions(path, count):
    """The count positions of the run, in number order."""
    text = read_text(path)
    if not text.startswith(_HEADER):
        raise InputError(path, "not a positions.dat written by tarvolin")
    positions = []
    start = len(_HEADER)
    if count > 0 and not text.startswith("\n\n\nPosition   1: ", start):
        raise InputError(path, "truncated: position 1 is missing")
    for number in range(1, count + 1):
        body_start = start + len("\n\n\nPosition %3d: " % number)
        end = text.find("\n\n\nPosition %3d: " % (number + 1), body_start)
        if end < 0:
            if number < count:
                raise InputError(path, f"truncated: position {number + 1} is missing")
            end = len(text)
        positions.append(_section(path, number, text[body_start:end]))
        start = end
    if start != len(text):
        raise InputError(path, f"lists more than the run's {count} positions")
    return positions
