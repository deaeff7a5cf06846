"""Reports of two runs mixed in one folder: both tools name the two reports
that disagree and stop with exit code 2, writing nothing. The runs differ as
a user's would: the same result file rated from another start Elo, or
another result file."""

import os
import shutil
import tempfile
import unittest

from plot_env import BINARY, copy_case, plot, read, run_tarvolin, scratch, write

REPORTS = ("general.dat", "cluster.dat", "rating.dat", "programs.dat", "positions.dat")


@unittest.skipUnless(BINARY, "needs the tarvolin program")
class BelongTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.home = tempfile.mkdtemp(prefix="tarvolin-belong-")
        cls.runs = {}
        for name, case, start in (("2600", "e2e_two_clusters", "2600"),
                                  ("2500", "e2e_two_clusters", "2500"),
                                  ("small", "e2e_small", "2600")):
            folder = os.path.join(cls.home, name)
            os.makedirs(folder)
            copy_case(case, folder)
            run_tarvolin(folder, "two" if case == "e2e_two_clusters" else "small", start)
            cls.runs[name] = {report: read(os.path.join(folder, report)) for report in REPORTS}
            cls.runs[name]["folder"] = folder

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.home, True)

    def mixed(self, base, **swapped):
        folder = scratch(self)
        for name in os.listdir(self.runs[base]["folder"]):
            if name.endswith(".pgn"):
                shutil.copy(os.path.join(self.runs[base]["folder"], name), folder)
        for report in REPORTS:
            write(os.path.join(folder, report), self.runs[swapped.get(report, base)][report])
        return folder

    def refused(self, folder, first, second):
        for publish in (False, True):
            out = os.path.join(scratch(self), "out")
            done = plot("--dir", folder, "--out", out, publish=publish)
            with self.subTest(publish=publish, first=first):
                self.assertEqual((done.returncode, done.stdout), (2, ""), done.stderr)
                message = done.stderr.strip()
                self.assertEqual(message.count("\n"), 0, message)
                self.assertIn(os.path.join(folder, first) + ":", message)
                self.assertIn(os.path.join(folder, second), message)
                self.assertFalse(os.path.exists(out))

    def test_a_whole_run_is_accepted(self):
        for base in self.runs:
            folder = self.mixed(base)
            for publish in (False, True):
                done = plot("--dir", folder, "--out", scratch(self), publish=publish)
                self.assertEqual(done.returncode, 0, done.stderr)

    def test_another_start_elo(self):
        # The user's two reports: rating.dat of the 2500 run beside a 2600 run,
        # and the other way round, general.dat alone from the 2500 run.
        self.refused(self.mixed("2600", **{"rating.dat": "2500"}), "rating.dat", "general.dat")
        self.refused(self.mixed("2600", **{"general.dat": "2500"}), "positions.dat",
                     "general.dat")
        self.refused(self.mixed("2600", **{"programs.dat": "2500"}), "programs.dat",
                     "rating.dat")
        self.refused(self.mixed("2500", **{"positions.dat": "2600"}), "positions.dat",
                     "general.dat")
        # Both rated from 2500, beside a 2600 general.dat and positions.dat:
        # the ratings still do not centre on the run's start Elo.
        self.refused(self.mixed("2600", **{"rating.dat": "2500", "programs.dat": "2500"}),
                     "rating.dat", "general.dat")

    def test_another_result_file(self):
        # positions.dat of another result file with as many positions.
        folder = self.mixed("small")
        write(os.path.join(folder, "positions.dat"),
              read(os.path.join(folder, "positions.dat")).replace(b"Gamma", b"Gamma2"))
        self.refused(folder, "rating.dat", "positions.dat")
        # cluster.dat and general.dat agree on names but not on matches.
        folder = self.mixed("2600")
        write(os.path.join(folder, "cluster.dat"),
              read(os.path.join(folder, "cluster.dat")).replace(b"2 matches", b"3 matches"))
        self.refused(folder, "cluster.dat", "general.dat")


if __name__ == "__main__":
    unittest.main()
