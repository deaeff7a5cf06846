"""The result file and Offset.pgn read the way the run reads them."""

import os
import unittest

from plot_env import scratch, write
from tarvolin_plot.errors import InputError
from tarvolin_plot.result_file import convert_time, read_result_file, split_entry


def game(fen, comment, extra=""):
    return f'[Event "e"]\n[FEN "{fen}"]\n\n{comment} 1. e4 {extra}*\n\n'


class EntryTest(unittest.TestCase):
    # Entries the fuzz corpus of test_same_as_program lacks.
    def test_entries(self):
        for entry, name, value in (
            (b"'Delta' 7.25 sec", b"Delta", 7.25),
            (b"'Hex' 0x1p3s", b"Hex", 8.0),
            (b"'Eta' nan", b"Eta", None),
            (b"'Theta' 1e999s", b"Theta", None),
            (b"'Iota' 0xs", b"Iota", None),
            (b"'Kappa' -s", b"Kappa", None),
            (b" 'Alpha' 5s", b"", None),  # the blank takes the quote's place
        ):
            got_name, field = split_entry(entry)
            self.assertEqual((got_name, convert_time(field)), (name, value), entry)


class ResultFileTest(unittest.TestCase):
    def read(self, text, offsets=None):
        folder = scratch(self)
        path = os.path.join(folder, "run.pgn")
        write(path, text.encode() if isinstance(text, str) else text)
        if offsets is not None:
            write(os.path.join(folder, "Offset.pgn"), offsets)
        result = read_result_file(path)
        return result.programs, [{result.programs[p]: t for p, t in times.items()}
                                 for times in result.times]

    def test_reading_rules(self):
        # The rules the program's own runs on the fuzz corpus do not show.
        for why, text, programs, times in (
            ("a remark before the results is passed over",
             game("F1", "{Pos 1 of the suite} {'A' 5s}"), ["A"], [{"A": 5.0}]),
            ("a decimal comma cuts the time", game("F1", "{'A' 1,5s}"), ["A"], [{"A": 1.0}]),
            ("a bracket inside a skipped comment is no tag",
             game("F1", "{'A' 5s}", extra='{[FEN "F2"]}') + game("F3", "{'A' 2s}"), ["A"],
             [{"A": 5.0}, {"A": 2.0}]),
            ("{} holds no results",
             game("F1", "{}") + game("F2", "{'A' 4s}"), ["A"], [{}, {"A": 4.0}]),
            ("a NUL ends the entry as it ends C text: the time goes with it",
             game("F1", "{'A\0B' 5s}"), ["A"], [{}]),
        ):
            self.assertEqual(self.read(text), (programs, times), why)

    def test_offsets_and_corrections(self):
        text = game("F1", "{'A' 10s, 'B' 3s, 'C' 0.4s}") + game("F2", "{'A' >60s, 'B' >3s}")
        offsets = ("[Event \"o\"]\n{'A' 9s, 'B' 9s}\n"  # the warm-up game is skipped
                   "[Event \"o\"]\n{'A' 2s, 'B' 4s, 'Omega' 1s}\n"
                   "[Event \"o\"]\n{'A' 3s}\n")
        # A: offset 2.5, B: 4, C: none.
        self.assertEqual(self.read(text, offsets)[1], [
            {"A": 7.5, "B": 1.0, "C": 1.0},  # a solution is never under 1 s
            {"A": -57.5, "B": -1.0},  # a limit the offset eats up stays a failure
        ])

    def test_too_many_programs(self):
        entries = ", ".join(f"'P{i}' 1s" for i in range(1001))
        with self.assertRaisesRegex(InputError, "more than 1000 programs"):
            self.read(game("F1", "{" + entries + "}"))

    def test_garbage_does_not_crash(self):
        for text in (b"", b"\0\xff{'\x80", b"[", b'[FEN "', b"{'A", b"{'A' 5s",
                     bytes(range(256)) * 20, b"[Event \"e\"]\n[FEN \"x\"]\n{'" + b"A" * 100000):
            programs, times = self.read(text)
            self.assertLessEqual(len(programs), 1000)


if __name__ == "__main__":
    unittest.main()
