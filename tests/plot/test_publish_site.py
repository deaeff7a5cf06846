"""Where the site goes: its folder made where missing, and on any failure
nothing half-written and nothing of the old site replaced."""

import os
import unittest

from plot_env import copy_case, plot, read, scratch, write
from tarvolin_plot.output import OutputError
from tarvolin_publish.site import write_site

SITE = ["index.html", "ratings.csv", "programs.csv", "matches.csv", "positions.csv",
        "results.csv", "run.json"]


class SiteTest(unittest.TestCase):
    def test_folders_made_and_refused(self):
        run = copy_case("e2e_two_clusters", scratch(self))
        out = os.path.join(scratch(self), "a", "b")
        done = plot("--dir", run, "--out", out, publish=True)
        self.assertEqual(done.stdout.split(), [os.path.join(out, name) for name in SITE])
        self.assertEqual(sorted(os.listdir(out)), sorted(SITE))
        # tarvolin-plot makes its folder too.
        pictures = os.path.join(scratch(self), "pictures")
        self.assertEqual(plot("--dir", run, "--out", pictures).returncode, 0)
        self.assertEqual(sorted(os.listdir(pictures)),
                         ["positions.svg", "ratings.svg", "solved.svg"])
        # A file where the folder should be, a folder where a file should be.
        write(os.path.join(out, "index.html"), "old page")
        os.remove(os.path.join(out, "results.csv"))
        os.mkdir(os.path.join(out, "results.csv"))
        for target, named in ((os.path.join(out, "index.html"), "cannot create the folder"),
                              (out, "results.csv: cannot write")):
            for publish in (True, False):
                done = plot("--dir", run, "--out", target, publish=publish)
                if not publish and target == out:
                    continue  # the pictures' names are free
                self.assertEqual((done.returncode, done.stdout), (1, ""), done.stderr)
                self.assertIn(named, done.stderr)
        self.assertEqual(read(os.path.join(out, "index.html")), b"old page")
        self.assertEqual(sorted(os.listdir(out)), sorted(SITE + ["positions.svg", "ratings.svg",
                                                                 "solved.svg"]))

    def test_a_failure_midway_leaves_the_old_site(self):
        out = scratch(self)
        write(os.path.join(out, "a.txt"), "old a")

        def broken(handle):
            handle.write(b"half")
            raise OSError(28, "No space left on device")

        for folder in (out, os.path.join(out, "new")):
            with self.assertRaises(OutputError) as caught:
                write_site(folder, {"a.txt": lambda h: h.write(b"new a"), "b.txt": broken})
            self.assertIn("b.txt: cannot write: No space left on device", str(caught.exception))
        self.assertEqual(os.listdir(out), ["a.txt"])  # no temporary, no new folder
        self.assertEqual(read(os.path.join(out, "a.txt")), b"old a")


if __name__ == "__main__":
    unittest.main()
