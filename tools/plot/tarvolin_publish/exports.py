"""The CSV files and run.json: what spreadsheets and scripts read. Each is
written as it is made, since the results of the largest run run to two
million rows."""

import csv
import io
import json
import math
import os

from . import tables as columns

_TEXT = {"program", "opponent", "label", "fen"}
_SHARES = ("invalid", "evaluated", "complete", "uncomplete")


def utf8(text):
    """Names are bytes from the result file; what is not UTF-8 there becomes
    U+FFFD here, since both formats must be valid UTF-8."""
    return text.encode("utf-8", "surrogateescape").decode("utf-8", "replace")


def number(text):
    """A printed figure as a JSON number; nan, inf or no figure give null."""
    if isinstance(text, int):
        return text
    try:
        value = float(text)
    except (TypeError, ValueError):
        return None
    if not math.isfinite(value):
        return None
    return int(text) if text.lstrip("+-").isdigit() else value


def _typed(row, leave_out=()):
    return {key: utf8(value) if key in _TEXT else number(value)
            for key, value in row.items() if key not in leave_out}


def _csv(rows, names):
    def write(handle):
        # RFC 4180: CR LF after every record, quotes only where a field needs them.
        text = io.TextIOWrapper(handle, encoding="utf-8", newline="", write_through=True)
        writer = csv.writer(text, lineterminator="\r\n")
        writer.writerow(names)
        for row in rows() if callable(rows) else rows:
            writer.writerow([utf8(str(row[name])) for name in names])
        text.detach()
    return write


def _summary(tables):
    summary = {}
    for key, _label, value, remark in tables.summary:
        if key in _SHARES:
            count, _, of = value.partition("/")
            summary[key] = {"count": number(count), "of": number(of),
                            "percent": number(remark.rstrip(" %"))}
        elif key == "database":
            summary[key] = utf8(value)
        else:
            summary[key] = number(value.rstrip(" s"))
    return summary


def _json(tables):
    def write(handle):
        opponents = {}
        for match in tables.matches:
            opponents.setdefault(match["program"], []).append(_typed(match, ("program",)))
        programs = [dict(_typed(rating), details=_typed(details, ("program", "cluster")),
                         opponents=opponents.get(rating["program"], []))
                    for rating, details in zip(tables.ratings, tables.programs)]
        head = {"summary": _summary(tables), "programs": programs,
                "positions": [_typed(row) for row in tables.positions],
                "results_from": utf8(os.path.basename(tables.results_from))}
        text = json.dumps(head, ensure_ascii=False, allow_nan=False, separators=(",", ":"))
        # The results go last, one per line; their label and FEN are in positions.
        handle.write(text[:-1].encode() + b',"results":[')
        for index, row in enumerate(tables.results()):
            result = dict(_typed(row, ("label", "fen")), solved=bool(row["solved"]))
            line = json.dumps(result, ensure_ascii=False,
                              separators=(",", ":"))
            handle.write((",\n" if index else "\n").encode() + line.encode())
        handle.write(b"\n]}\n")
    return write


def writers(tables):
    """{file name: function writing it to a binary handle} of every export."""
    return {
        "ratings.csv": _csv(tables.ratings, columns.RATING_COLUMNS),
        "programs.csv": _csv(tables.programs, columns.PROGRAM_COLUMNS),
        "matches.csv": _csv(tables.matches, columns.MATCH_COLUMNS),
        "positions.csv": _csv(tables.positions, columns.POSITION_COLUMNS),
        "results.csv": _csv(tables.results, columns.RESULT_COLUMNS),
        "run.json": _json(tables),
    }
