"""The reports of one run state many things twice: the start Elo, the counts,
the programs with their ranks and ratings. A report copied in from another
run (another start Elo, another result file) reads well on its own, so each
such figure is held against the other report that states it."""

import math

from .errors import InputError
from .text import printable

# A figure printed without decimals is within half a unit of the value, one
# with d decimals within half of 10**-d; a little more covers the rounding of
# the computation itself.
SLACK = 1e-6


def _differ(first, second, what):
    return InputError(first, f"does not belong with {second}: {what}")


def _close(a, b, tolerance):
    return not (math.isfinite(a) and math.isfinite(b)) or abs(a - b) <= tolerance + SLACK


def _number(text):
    try:
        return float(text)
    except ValueError:
        return math.nan


def _check_start_elo(paths, general, rating, positions):
    start = general.start_elo
    for position in positions:
        if position.tried and position.printed:
            # The difficulty line prints start Elo + d and d, both to 0.1.
            shown = _number(position.printed["elo"]) - position.difficulty
            if not _close(shown, start, 0.5 + 0.1):
                raise _differ(paths["positions.dat"], paths["general.dat"],
                              f"position {position.number} is rated from start Elo "
                              f"{shown:.1f}, the start Elo is {start:.0f}")
            break
    # The ratings of each cluster keep their match-weighted mean at the start Elo.
    for number, block in enumerate(rating, 1):
        weight = sum(p.matches for p in block)
        if weight > 0 and all(math.isfinite(p.elo) for p in block):
            centre = sum(p.matches * p.elo for p in block) / weight
            if not _close(centre, start, 0.5 + 0.5):
                raise _differ(paths["rating.dat"], paths["general.dat"],
                              f"cluster {number} centres on Elo {centre:.0f}, "
                              f"the start Elo is {start:.0f}")


def _check_counts(paths, general, clusters, rating, positions):
    tested = sum(1 for position in positions if position.tried)
    if tested != general.tested_positions:
        raise _differ(paths["positions.dat"], paths["general.dat"],
                      f"{tested} positions tested, {general.tested_positions} there")
    matches = sum(count for _names, count in clusters)
    if general.evaluated >= 0 and matches != general.evaluated:
        raise _differ(paths["cluster.dat"], paths["general.dat"],
                      f"its clusters hold {matches} matches, {general.evaluated} there")
    for number, (block, (_names, count)) in enumerate(zip(rating, clusters), 1):
        # Each match counts for both of its programs.
        if sum(p.matches for p in block) // 2 != count:
            raise _differ(paths["rating.dat"], paths["cluster.dat"],
                          f"cluster {number} holds {sum(p.matches for p in block) // 2} "
                          f"matches, {count} there")
    rated = sum(len(block) for block in rating)
    if rated > general.programs:
        raise _differ(paths["rating.dat"], paths["general.dat"],
                      f"it rates {rated} programs, the run has {general.programs}")


def _check_solved(paths, rating, positions):
    """Every rated program was tried and solved on as many positions as the
    position listings show."""
    counts = {}
    for position in positions:
        for name, mark, _time in position.listed() or []:
            tried, solved = counts.get(name, (0, 0))
            counts[name] = (tried + 1, solved + (mark != ">"))
    for block in rating:
        for program in block:
            listed = counts.get(program.name, (0, 0))
            if listed != (program.tried, program.solved):
                raise _differ(paths["rating.dat"], paths["positions.dat"],
                              f"{printable(program.name)} solved {program.solved} of "
                              f"{program.tried}, {listed[1]} of {listed[0]} there")


def _check_details(paths, rating, programs):
    rows = [program for block in rating for program in block]
    if len(rows) != len(programs):
        raise _differ(paths["programs.dat"], paths["rating.dat"],
                      f"{len(programs)} programs, {len(rows)} there")
    for row, details in zip(rows, programs):
        figures = details.figures
        agree = (
            (details.rank, details.name) == (row.rank, row.name)
            and _close(_number(details.elo), row.elo, 0.5 + 0.05)
            and (details.total.matches, details.total.score) == (row.matches,
                                                               row.printed["score"])
            and (int(figures["solved"]), int(figures["tried"])) == (row.solved, row.tried)
            and figures["rindex"] == row.printed["rindex"]
            and _close(_number(figures["mst1"]), _number(row.printed["mst1"]), 0.05 + 0.005)
            and _close(_number(figures["mst2"]), _number(row.printed["mst2"]), 0.05 + 0.005)
        )
        if not agree:
            raise _differ(paths["programs.dat"], paths["rating.dat"],
                          f"{details.rank} {printable(details.name)} ({details.elo} Elo) "
                          f"differs from {row.rank} {printable(row.name)} "
                          f"({row.printed['elo']} Elo)")


def check_together(paths, general, clusters, rating, positions, programs=None):
    """Raises an InputError that names both reports where two disagree;
    programs is None when programs.dat is not read."""
    _check_counts(paths, general, clusters, rating, positions)
    _check_start_elo(paths, general, rating, positions)
    _check_solved(paths, rating, positions)
    if programs is not None:
        _check_details(paths, rating, programs)
