"""The result file and Offset.pgn beside it, read as the run reads them, and
every time corrected as the run corrects it before rating."""

import math
import os
import re
from dataclasses import dataclass, field

from . import pgn_scan
from .errors import InputError, read_bytes

MAX_PROGRAMS = 1000
MAX_POSITIONS = 2000
SOLVED_FLOOR = 1.0
SHORTEST_LIMIT = -1.0
NOT_TESTED_BOUND = -9999998.0

_HEX = re.compile(rb"[+-]?0[xX](?:[0-9a-fA-F]+\.?[0-9a-fA-F]*|\.[0-9a-fA-F]+)(?:[pP][+-]?\d+)?")
_DECIMAL = re.compile(rb"[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?")
_HEX_START = re.compile(rb"[+-]?0[xX]")


def split_entry(entry):
    """(name, time field) of one entry: the first character is skipped, blanks
    and line ends dropped, the name runs to the next quote and the time to
    the next lower-case s, with '>' read as a minus sign."""
    text = entry[1:].translate(None, b" \n")
    name, quote, rest = text.partition(b"'")
    if not quote:
        return text, b""
    return name, rest.split(b"s", 1)[0].replace(b">", b"-")


def convert_time(time_field):
    """The number the field starts with (after white space), or None when
    there is none or it is not finite."""
    text = time_field.lstrip(b" \t\n\v\f\r")
    try:
        if _HEX_START.match(text):
            match = _HEX.match(text)
            value = float.fromhex(match[0].decode()) if match else None
        else:
            match = _DECIMAL.match(text)
            value = float(match[0]) if match else None
    except OverflowError:
        return None
    return value if value is not None and math.isfinite(value) else None


def _name(raw):
    return raw.decode("utf-8", "surrogateescape")


@dataclass
class ResultFile:
    path: str
    programs: list = field(default_factory=list)  # names, in order of first mention
    # Per position: {program index: corrected time}; negative is a failure
    # within the limit its absolute value gives.
    times: list = field(default_factory=list)
    offset_path: str = ""  # the Offset.pgn used, or "" without one


def _read_results(path, data):
    result = ResultFile(path)
    program_index, position_index = {}, {}
    current = [0]

    def on_tag(name, value):
        if name == b"FEN ":
            if value not in position_index:
                if len(result.times) == MAX_POSITIONS:
                    raise InputError(path, f"more than {MAX_POSITIONS} positions")
                position_index[value] = len(result.times)
                result.times.append({})
            current[0] = position_index[value] + 1

    def on_entry(entry):
        raw_name, time_field = split_entry(entry)
        if raw_name not in program_index:
            if len(result.programs) == MAX_PROGRAMS:
                raise InputError(path, f"more than {MAX_PROGRAMS} programs")
            program_index[raw_name] = len(result.programs)
            result.programs.append(_name(raw_name))
        time = convert_time(time_field)
        if current[0] > 0 and time is not None:
            result.times[current[0] - 1][program_index[raw_name]] = time

    pgn_scan.walk(data, on_tag, on_entry)
    return result, program_index


def _read_offsets(data, program_index):
    """Each program's mean time in the offset file, the first game left out."""
    sums, counts, games = {}, {}, [0]

    def on_tag(name, _value):
        if name == b"Event ":
            games[0] += 1

    def on_entry(entry):
        raw_name, time_field = split_entry(entry)
        program = program_index.get(raw_name)
        time = convert_time(time_field)
        if games[0] > 1 and program is not None and time is not None:
            sums[program] = sums.get(program, 0.0) + time
            counts[program] = counts.get(program, 0) + 1

    pgn_scan.walk(data, on_tag, on_entry)
    offsets = {p: sums[p] / counts[p] for p in sums}
    return {p: value for p, value in offsets.items() if math.isfinite(value)}


def _correct(time, offset):
    """The time as the rating sees it, or None for one it takes for "not
    tried": below this bound the run keeps its mark for a missing result."""
    if time < NOT_TESTED_BOUND:
        return None
    if time >= 0.0:
        return max(time - offset, SOLVED_FLOOR)
    corrected = time + offset
    if corrected >= 0.0:
        return SHORTEST_LIMIT
    return corrected if corrected >= NOT_TESTED_BOUND else None


def read_result_file(path):
    """The result file with every time corrected by the offsets of the
    Offset.pgn in the same folder, when there is one."""
    data = read_bytes(path).replace(b"\r\n", b"\n")
    result, program_index = _read_results(path, data)
    offset_path = os.path.join(os.path.dirname(path), "Offset.pgn")
    offsets = {}
    if os.path.isfile(offset_path):
        offset_data = read_bytes(offset_path).replace(b"\r\n", b"\n")
        offsets = _read_offsets(offset_data, program_index)
        result.offset_path = offset_path
    for index, times in enumerate(result.times):
        corrected = {p: _correct(t, offsets.get(p, 0.0)) for p, t in times.items()}
        result.times[index] = {p: t for p, t in corrected.items() if t is not None}
    return result
