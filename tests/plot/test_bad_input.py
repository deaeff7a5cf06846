"""Bad input through the tool itself: one line naming the file, exit code 2,
and no picture, whole or half, in the output folder."""

import os
import shutil
import unittest

from plot_env import copy_case, plot, read, scratch, write

REPORTS = ("general.dat", "cluster.dat", "rating.dat", "positions.dat")


def cut(keep):
    """Keeps the share keep of a file, as a full disk or a killed run would."""
    return lambda path: write(path, read(path)[: int(len(read(path)) * keep)])


def edit(old, new):
    def change(path):
        data = read(path)
        assert old in data, (path, old)
        write(path, data.replace(old, new))
    return change


class BadInputTest(unittest.TestCase):
    def check_refused(self, folder, names, *options, launcher=False, publish=False):
        out = scratch(self)
        pictures = () if publish else ("--png",)
        done = plot("--dir", folder, "--out", out, *pictures, *options, launcher=launcher,
                    publish=publish)
        self.assertEqual((done.returncode, done.stdout, done.stderr.count("\n")), (2, "", 1),
                         done.stderr)
        self.assertIn(names, done.stderr)
        self.assertEqual(os.listdir(out), [])

    def test_damaged_report(self):
        garbage = bytes(range(256)) * 8 + b"\0\n\n\nPosition   1: \n"
        # A pipe would be read for ever; it is refused instead.
        for why, damage in (("missing", os.remove), ("cut to nothing", cut(0.0)),
                            ("a pipe", lambda path: (os.remove(path), os.mkfifo(path))),
                            ("cut early", cut(0.3)), ("cut late", cut(0.97)),
                            ("garbage", lambda path: write(path, garbage))):
            # tarvolin-plot does without programs.dat, tarvolin-publish needs it.
            for report in REPORTS + ("programs.dat",):
                folder = copy_case("e2e_two_clusters", scratch(self))
                damage(os.path.join(folder, report))
                with self.subTest(report=report, damage=why):
                    self.check_refused(folder, os.path.join(folder, report) if why == "missing"
                                       else report, publish=report == "programs.dat")

    def test_edited_run(self):
        """One file of a good run changed a little: the file that no longer
        fits is named (the result file for a changed Offset.pgn)."""
        other = copy_case("e2e_two_clusters", scratch(self))
        for row, (edited, change, *options) in enumerate((
            ("general.dat", edit(b"Start Elo :   2500", b"Start Elo :   25x0")),
            ("cluster.dat", edit(b"3 programs, 7 matches", b"4 programs, 7 matches")),
            ("rating.dat", edit(b": 2597  214", b": 25x7  214")),
            ("rating.dat", edit(b"  2 Beta2", b"  5 Beta2")),
            ("rating.dat", lambda path: shutil.copy(os.path.join(other, "rating.dat"), path)),
            ("positions.dat", edit(b"12.00 s", b"1.2.3 s")),
            ("positions.dat", edit(b"Solved by 1 of 3", b"Solved by 1 of 4")),
            ("Offset.pgn", edit(b"'Beta 2' 2.5s", b"'Beta 2' 3.5s")),
            ("two.pgn", None, "--result", os.path.join(other, "two.pgn")),
            ("x.pgn", None, "--result", os.path.join(other, "x.pgn")),
        ), 1):
            folder = copy_case("e2e_small", scratch(self))
            path = os.path.join(folder, edited)
            if change:
                change(path)
            names = options[1] if options else path.replace("Offset.pgn", "small.pgn")
            with self.subTest(row=row, edited=edited):
                self.check_refused(folder, names, *options)

    def test_folder_without_a_run(self):
        folder = scratch(self)
        write(os.path.join(folder, "notes.txt"), "nothing here\n")
        self.check_refused(folder, folder, launcher=True)  # its exit code passed on
        self.check_refused(os.path.join(folder, "missing"), "missing")

    def test_wrong_option(self):
        for arguments in (["--colour", "red"], ["--dir"], ["extra"]):
            done = plot(*arguments, launcher=True)
            self.assertEqual((done.returncode, done.stdout), (2, ""), arguments)
            first, rest = done.stderr.split("\n", 1)
            self.assertIn(arguments[0], first)
            self.assertTrue(rest.startswith("usage: tarvolin-plot"), done.stderr)


if __name__ == "__main__":
    unittest.main()
