"""On every seed of the fuzz corpus and a few odd files, the times the tool
reads must agree to the last printed digit with the program's positions.dat
(load_run checks that), and the pictures are drawn all the same."""

import glob
import os
import unittest

from plot_env import SOURCE, plot, read, run_tarvolin, scratch, write
from tarvolin_plot.run_data import load_run

MARKER = b"\n%Offset\n"

ODD_FILES = {
    "crlf_and_offsets": (
        b"[Event \"e\"]\r\n[FEN \"F1\"]\r\n{'A' 0.5s, 'B' 12s, 'C' >30s}\r\n"
        b"[Event \"e\"]\r\n[FEN \"F2\"]\r\n{'A' 4s, 'B' >3s, 'C' 2s}\r\n"
        + MARKER + b"[Event \"o\"]\n{'A' 9s}\n[Event \"o\"]\n{'A' 0.7s, 'C' 5s, 'B' -2s}\n"
    ),
    "bytes_and_long_names": (
        b"[Event \"e\"]\n[FEN \"F1\"]\n{'\xc3\xa9l\xe8ve " + b"x" * 90 + b"' 3s, 'B\tx' 7s,"
        b" '$1$' >9s}\n[Event \"e\"]\n[FEN \"F2\"]\n{'B\tx' 2s, '$1$' 3.25s, 'Z\rz' 8s}\n"
    ),
    "nothing_tried": b"{'A' 1s, 'B' 2s}\n[Event \"e\"]\n[FEN \"F1\"]\n{}\n",
    "offset_larger_than_limits": (
        b"[Event \"e\"]\n[FEN \"F1\"]\n{'A' 5s, 'B' >4s}\n"
        b"[Event \"e\"]\n[FEN \"F2\"]\n{'A' >2s, 'B' 1e1s}\n"
        + MARKER + b"[Event \"o\"]\n{}\n[Event \"o\"]\n{'A' 3s, 'B' 6s}\n"
    ),
}


def cases():
    for path in sorted(glob.glob(os.path.join(SOURCE, "fuzz", "corpus", "*", "*.pgn"))):
        yield os.path.relpath(path, SOURCE), read(path)
    yield from ODD_FILES.items()


class SameAsProgramTest(unittest.TestCase):
    def test_every_complete_run_accepts_its_result_file(self):
        compared = 0
        for name, content in cases():
            folder = scratch(self)
            result, _, offsets = content.partition(MARKER)
            write(os.path.join(folder, "run.pgn"), result)
            if offsets:
                write(os.path.join(folder, "Offset.pgn"), offsets)
            if run_tarvolin(folder, "run", check=False) != 0:
                continue  # too few programs, or too many: no reports to hold it against
            with self.subTest(name):
                run = load_run(folder)
                self.assertTrue(run.times_from.endswith("run.pgn"))
                compared += 1
                self.assertEqual(plot("--dir", folder).returncode, 0)
        # Nearly all seeds make a complete run; a handful would mean the
        # corpus or the program changed under the test.
        self.assertGreaterEqual(compared, 15)


if __name__ == "__main__":
    unittest.main()
