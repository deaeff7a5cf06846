"""The report readers against the end-to-end cases, whose figures their
NOTES.md works out by hand."""

import os
import unittest

from plot_env import DATA, copy_case, scratch
from tarvolin_plot.cluster_report import read_clusters
from tarvolin_plot.errors import InputError
from tarvolin_plot.general_report import read_general
from tarvolin_plot.position_report import read_positions
from tarvolin_plot.program_report import read_programs
from tarvolin_plot.rating_report import read_rating
from tarvolin_plot.run_data import load_run

CASES = {
    "e2e_small": (
        ("small.pgn", 3, 3, 3, 2500.0), [["Alpha", "Beta2", "Gamma"]],
        # Printed ratings 2596.5, 2474.7, 2448.0; margins 214, 185, 184.
        [[(1, "Gamma", 2597, 214, 4, 2, 3), (2, "Beta2", 2475, 185, 5, 2, 3),
          (3, "Alpha", 2448, 184, 5, 2, 3)]],
        "Test 1", [(3, 3, -23.3), (1, 3, 31.8), (2, 3, -23.3)]),
    # Elm has no match and so no cluster; the clusters follow their
    # lowest-numbered program, and ranks start from one in each.
    "e2e_two_clusters": (
        ("two.pgn", 5, 4, 4, 2600.0), [["Alder", "Cedar"], ["Birch", "Dogwood"]],
        [[(1, "Alder", 2650, 0, 1, 1, 3), (2, "Cedar", 2550, 0, 1, 1, 3)],
         [(1, "Dogwood", 2620, 82, 2, 2, 3), (2, "Birch", 2580, 78, 2, 2, 3)]],
        "First", [(2, 4, 20.5), (2, 3, -138.5), (2, 3, 14.4), (0, 4, 9.8)]),
}


class ReportsTest(unittest.TestCase):
    def test_each_report(self):
        for case, (general, clusters, ratings, label, positions) in CASES.items():
            path = os.path.join(DATA, case, "expected")
            got = read_general(os.path.join(path, "general.dat"))
            self.assertEqual((got.database, got.programs, got.positions, got.tested_positions,
                              got.start_elo), general, case)
            self.assertEqual(read_clusters(os.path.join(path, "cluster.dat")), clusters, case)
            self.assertEqual([[(p.rank, p.name, p.elo, p.margin, p.matches, p.solved, p.tried)
                               for p in block]
                              for block in read_rating(os.path.join(path, "rating.dat"))],
                             ratings, case)
            got = read_positions(os.path.join(path, "positions.dat"), len(positions))
            self.assertEqual([(p.solved, p.tried, p.difficulty) for p in got], positions, case)
            self.assertEqual(got[0].label, label, case)


class ProgramsTest(unittest.TestCase):
    def test_sections(self):
        path = os.path.join(DATA, "e2e_small", "expected", "programs.dat")
        got = [(p.rank, p.name, p.elo, p.trend, p.figures["offset"], p.figures["imst"],
                (p.total.matches, p.total.wins, p.total.losses, p.total.score),
                [(o.opponent, o.matches, o.wins, o.score) for o in p.opponents])
               for p in read_programs(path)]
        # Class 1 is empty (NOTES.md), so every first Trend figure is missing;
        # Beta2's offset is 2 s.
        self.assertEqual([row[:5] for row in got], [
            (1, "Gamma", "2596.5", [None, "-62.0", "+71.7"], "0.00"),
            (2, "Beta2", "2474.7", [None, "+207.1", "-141.9"], "2.00"),
            (3, "Alpha", "2448.0", [None, "-213.1", "+109.8"], "0.00")])
        self.assertEqual(got[0][6:], ((4, 3, 1, "68.7"),
                                      [("Alpha", 2, 2, "77.5"), ("Beta2", 2, 1, "60.0")]))

    def test_trend_figures(self):
        folder = scratch(self)
        path = os.path.join(folder, "programs.dat")
        text = open(os.path.join(DATA, "e2e_small", "expected", "programs.dat")).read()
        for trend, expected in ((" +140.8  = +140.8  > -nan ", ["+140.8", "+140.8", "-nan"]),
                                (" -  -  - ", [None, None, None])):
            with open(path, "w") as handle:
                handle.write(text.replace(" -  < -62.0  < +71.7 ", trend))
            self.assertEqual(read_programs(path)[0].trend, expected)
        for broken in (" < +1.0  -  - ", " +1.0  +2.0  - ", " +1.0  -  - x"):
            with open(path, "w") as handle:
                handle.write(text.replace(" -  < -62.0  < +71.7 ", broken))
            with self.assertRaises(InputError):
                read_programs(path)


class WholeRunTest(unittest.TestCase):
    def times(self, case, remove=None):
        folder = copy_case(case, scratch(self))
        if remove:
            os.remove(os.path.join(folder, remove))
        run = load_run(folder)
        return run, {t.name: (t.solved, t.tried) for t in run.times}

    def test_result_file_belongs_and_gives_the_corrected_times(self):
        run, by_name = self.times("e2e_small")
        self.assertTrue(run.times_from.endswith("small.pgn"))
        self.assertEqual(by_name, {"Alpha": ([12.0, 20.0], 3), "Beta2": ([3.0, 28.0], 3),
                                   "Gamma": ([1.0, 8.0], 3)})
        self.assertEqual(run.largest_limit, 58.0)

    def test_without_result_file_the_listing_serves(self):
        run, by_name = self.times("e2e_two_clusters", remove="two.pgn")
        self.assertTrue(run.times_from.endswith("positions.dat"))
        # Elm is tried on two positions and solves neither.
        self.assertEqual(by_name["Elm"], ([], 2))
        self.assertEqual(by_name["Dogwood"], ([1.0, 15.0], 3))


if __name__ == "__main__":
    unittest.main()
