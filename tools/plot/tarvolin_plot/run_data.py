"""A finished run: its reports read and held against each other, and the
solution times of every program, from the result file where there is one."""

import os
from dataclasses import dataclass

from .cluster_report import read_cluster_report
from .consistency import check_together
from .errors import InputError
from .general_report import read_general
from .position_report import read_positions
from .program_report import read_programs
from .rating_report import read_rating
from .result_file import read_result_file
from .text import printable

REPORTS = ("general.dat", "cluster.dat", "rating.dat", "positions.dat")
DETAILS = "programs.dat"


@dataclass
class Times:
    """One program's results: its solution times (corrected, ascending) and
    the number of positions it was tried on."""

    name: str
    solved: list
    tried: int


@dataclass
class Run:
    folder: str
    general: object
    clusters: list  # of lists of RatedProgram, as rating.dat has them
    positions: list
    times: list  # of Times, in order of first mention
    largest_limit: float
    times_from: str  # the file the times were taken from
    offsets_from: str = ""  # the Offset.pgn whose offsets were taken off, if any
    programs: list = None  # programs.dat's sections, where it was read
    cluster_matches: list = None  # each cluster's number of matches
    result: object = None  # the ResultFile the times came from, if any


def _mark(time):
    return ">" if time < 0.0 else ("<" if time <= 1.0 else " ")


def _check_belongs(result, general, positions, folder):
    def refuse(reason):
        raise InputError(result.path, f"does not belong to the run in {folder}: {reason}")

    if len(result.programs) != general.programs:
        refuse(f"it names {len(result.programs)} programs, general.dat {general.programs}")
    if len(result.times) != general.positions:
        refuse(f"it has {len(result.times)} positions, general.dat {general.positions}")
    for position, times in zip(positions, result.times):
        listed = {name: (mark, shown) for name, mark, shown in position.listed()}
        for program, time in times.items():
            name = result.programs[program]
            mine = (_mark(time), "%.2f" % abs(time))
            if listed.get(name) != mine:
                theirs = listed.get(name, ("", "no"))
                offsets = f" (offsets from {result.offset_path})" if result.offset_path else ""
                refuse(
                    f"position {position.number}: {printable(name)} {mine[0].strip()}{mine[1]} s"
                    f" here{offsets}, {theirs[0].strip()}{theirs[1]} s in positions.dat"
                )
        if len(listed) != len(times):
            refuse(f"position {position.number} lists other programs in positions.dat")


def _times_from_result(result):
    solved = [[] for _ in result.programs]
    tried = [0] * len(result.programs)
    for times in result.times:
        for program, time in times.items():
            tried[program] += 1
            if time >= 0.0:
                solved[program].append(time)
    return [
        Times(name, sorted(solved[p]), tried[p])
        for p, name in enumerate(result.programs)
        if tried[p] > 0
    ]


def _times_from_positions(positions):
    """The same figures from positions.dat, to two decimals."""
    by_name = {}
    for position in positions:
        for name, mark, shown in position.listed():
            entry = by_name.setdefault(name, Times(name, [], 0))
            entry.tried += 1
            if mark != ">":
                entry.solved.append(float(shown))
    for entry in by_name.values():
        entry.solved.sort()
    return list(by_name.values())


def _check_clusters(folder, rating, cluster_names):
    if [sorted(p.name for p in block) for block in rating] != [
        sorted(names) for names in cluster_names
    ]:
        raise InputError(
            os.path.join(folder, "rating.dat"),
            "its clusters differ from cluster.dat's: the two come from different runs",
        )


def load_run(folder, result_path=None, details=False):
    """The run in folder, every report held against the others. programs.dat
    is read where it is there, and must be with details."""
    paths = {name: os.path.join(folder, name) for name in REPORTS + (DETAILS,)}
    if not os.path.isdir(folder):
        raise InputError(folder, "no such folder")
    if not any(os.path.exists(paths[name]) for name in REPORTS):
        raise InputError(folder, "no run here: none of " + ", ".join(REPORTS) + " is there")
    general = read_general(paths["general.dat"])
    clusters = read_cluster_report(paths["cluster.dat"])
    rating = read_rating(paths["rating.dat"])
    _check_clusters(folder, rating, [names for names, _matches in clusters])
    positions = read_positions(paths["positions.dat"], general.positions)
    programs = None
    if details or os.path.exists(paths[DETAILS]):
        programs = read_programs(paths[DETAILS])
    check_together(paths, general, clusters, rating, positions, programs)
    if result_path is None:
        default = os.path.join(folder, general.database)
        result_path = default if os.path.exists(default) else None
    largest = max((p.longest for p in positions), default=0.0)
    run = Run(folder, general, rating, positions, [], largest, "", programs=programs,
              cluster_matches=[matches for _names, matches in clusters])
    if result_path is None:
        run.times, run.times_from = _times_from_positions(positions), paths["positions.dat"]
    else:
        result = read_result_file(result_path)
        _check_belongs(result, general, positions, folder)
        run.times, run.times_from = _times_from_result(result), result_path
        run.offsets_from, run.result = result.offset_path, result
    return run
