"""Bad input through the tool itself: one line naming the file, exit code 2,
and no picture, whole or half, in the output folder."""

import os
import shutil
import unittest

from plot_env import copy_case, plot, scratch

REPORTS = ("general.dat", "cluster.dat", "rating.dat", "positions.dat")


def cut(path, keep):
    """Keeps the share keep (0..1) of the file's bytes, as a run stopped by
    a full disk or a killed process would."""
    with open(path, "rb") as handle:
        data = handle.read()
    with open(path, "wb") as handle:
        handle.write(data[: int(len(data) * keep)])


def replace(path, old, new):
    with open(path, "rb") as handle:
        data = handle.read()
    assert old in data, (path, old)
    with open(path, "wb") as handle:
        handle.write(data.replace(old, new))


class BadInputTest(unittest.TestCase):
    def check_refused(self, folder, names, *options):
        out = scratch(self)
        done = plot("--dir", folder, "--out", out, "--png", *options)
        self.assertEqual(done.returncode, 2, done.stderr)
        self.assertEqual(done.stdout, "")
        self.assertEqual(done.stderr.count("\n"), 1, done.stderr)
        self.assertIn(names, done.stderr)
        self.assertEqual(os.listdir(out), [])

    def test_missing_report(self):
        for report in REPORTS:
            folder = copy_case("e2e_small", scratch(self))
            os.remove(os.path.join(folder, report))
            with self.subTest(report):
                self.check_refused(folder, os.path.join(folder, report))

    def test_truncated_report(self):
        for report in REPORTS:
            for keep in (0.0, 0.3, 0.97):
                folder = copy_case("e2e_two_clusters", scratch(self))
                cut(os.path.join(folder, report), keep)
                with self.subTest(report=report, keep=keep):
                    self.check_refused(folder, report)

    def test_garbage_report(self):
        garbage = bytes(range(256)) * 8 + b"\0\n\n\nPosition   1: \n"
        for report in REPORTS:
            folder = copy_case("e2e_small", scratch(self))
            with open(os.path.join(folder, report), "wb") as handle:
                handle.write(garbage)
            with self.subTest(report):
                self.check_refused(folder, report)

    def test_figure_that_is_no_number(self):
        for report, old, new in (
            ("general.dat", b"Start Elo :   2500", b"Start Elo :   25x0"),
            ("cluster.dat", b"3 programs, 7 matches", b"4 programs, 7 matches"),
            ("rating.dat", b": 2597  214", b": 25x7  214"),
            ("rating.dat", b"  2 Beta2", b"  5 Beta2"),
            ("positions.dat", b"12.00 s", b"1.2.3 s"),
            ("positions.dat", b"Solved by 1 of 3", b"Solved by 1 of 4"),
        ):
            folder = copy_case("e2e_small", scratch(self))
            replace(os.path.join(folder, report), old, new)
            with self.subTest(report=report, change=new):
                self.check_refused(folder, report)

    def test_pipe_in_place_of_a_file(self):
        # Read, it would never end; it is refused instead.
        for report in REPORTS + ("small.pgn",):
            folder = copy_case("e2e_small", scratch(self))
            os.remove(os.path.join(folder, report))
            os.mkfifo(os.path.join(folder, report))
            with self.subTest(report):
                self.check_refused(folder, report)

    def test_folder_without_a_run(self):
        folder = scratch(self)
        with open(os.path.join(folder, "notes.txt"), "w") as handle:
            handle.write("nothing here\n")
        self.check_refused(folder, folder)
        self.check_refused(os.path.join(folder, "missing"), "missing")

    def test_reports_of_two_runs(self):
        folder = copy_case("e2e_small", scratch(self))
        shutil.copy(os.path.join(copy_case("e2e_two_clusters", scratch(self)), "rating.dat"),
                    folder)
        self.check_refused(folder, "rating.dat")

    def test_result_file_of_another_run(self):
        for why, change in (
            ("another suite", lambda folder, other: ["--result", os.path.join(other, "two.pgn")]),
            ("one time changed", lambda folder, other: replace(
                os.path.join(folder, "small.pgn"), b"'Alpha' 12s", b"'Alpha' 13s")),
            ("another offset file", lambda folder, other: replace(
                os.path.join(folder, "Offset.pgn"), b"'Beta 2' 2.5s", b"'Beta 2' 3.5s")),
            ("a missing given file", lambda folder, other: ["--result", os.path.join(other, "x.pgn")]),
        ):
            folder = copy_case("e2e_small", scratch(self))
            other = copy_case("e2e_two_clusters", scratch(self))
            options = change(folder, other) or []
            names = options[1] if options else os.path.join(folder, "small.pgn")
            with self.subTest(why):
                self.check_refused(folder, names, *options)

    def test_wrong_option(self):
        for arguments in (["--colour", "red"], ["--dir"], ["extra"]):
            done = plot(*arguments)
            self.assertEqual(done.returncode, 2, arguments)
            self.assertEqual(done.stdout, "")
            first, rest = done.stderr.split("\n", 1)
            self.assertIn(arguments[0], first)
            self.assertTrue(rest.startswith("usage: tarvolin-plot"), done.stderr)

    def test_help(self):
        done = plot("--help")
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        for option in ("--dir", "--result", "--out", "--png", "(default: "):
            self.assertIn(option, done.stdout)


if __name__ == "__main__":
    unittest.main()
