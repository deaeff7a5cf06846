"""tarvolin-publish's exports read back with csv and json, against the
reports (split by hand, not by the tool's readers) and the hand-worked
figures of the end-to-end cases."""

import csv
import io
import json
import os
import unittest

from plot_env import BINARY, EXAMPLES, copy_case, plot, read, run_tarvolin, scratch, write


def published(test, folder, *options):
    out = os.path.join(scratch(test), "site")
    done = plot("--dir", folder, "--out", out, *options, publish=True)
    test.assertEqual(done.returncode, 0, done.stderr)
    return out


def rows(out, name):
    data = read(os.path.join(out, name))
    # RFC 4180: every record ends in CR LF.
    assert data.endswith(b"\r\n") and data.count(b"\n") == data.count(b"\r\n"), name
    return list(csv.DictReader(io.StringIO(data.decode("utf-8"), newline="")))


def rating_rows(folder):
    """rating.dat's rows split on blanks: (cluster, rank, name, figures...)."""
    text = read(os.path.join(folder, "rating.dat")).decode("utf-8", "replace")
    blocks = text.split("Av.Op.   S.Pos.   MST1    MST2   RIndex\n\n")[1:]
    found = []
    for cluster, block in enumerate(blocks, 1):
        for line in block.split("\n\n")[0].strip("\n").split("\n"):
            words = line.replace("/", " ").split()
            found.append([str(cluster)] + [w for w in words if w not in (":", "%")])
    return found


class ExportsTest(unittest.TestCase):
    def check_against_reports(self, folder):
        out = published(self, folder)
        got = [[r["cluster"], r["rank"], r["program"], r["elo"], r["margin"], r["matches"],
                r["score"], r["average_opponent"], r["solved"], r["tried"], r["mst1"] + "s",
                r["mst2"] + "s", r["rank_index"]] for r in rows(out, "ratings.csv")]
        self.assertEqual(got, rating_rows(folder))
        document = json.loads(read(os.path.join(out, "run.json")))
        self.assertEqual([(p["program"], p["elo"], p["details"]["matches"])
                          for p in document["programs"]],
                         [(r[2], int(r[3]), int(r[5])) for r in rating_rows(folder)])
        positions = read(os.path.join(folder, "positions.dat")).decode("utf-8", "replace").split("\nPosition ")[1:]
        self.assertEqual([(r["label"], r["fen"],
                           f"Solved by {r['solved']} of {r['tried']} programs")
                          for r in rows(out, "positions.csv")],
                         [(p.split("\n")[0].split(": ", 1)[1],
                           p.split("\n")[1][5:].rstrip(" "), p.split("\n")[2])
                          for p in positions])
        results = rows(out, "results.csv")
        self.assertEqual([(int(r["position"]), r["program"], float(r["time"]), r["solved"] == "1")
                          for r in results],
                         [(r["position"], r["program"], r["time"], r["solved"])
                          for r in document["results"]])
        return out, results

    def test_two_clusters(self):
        folder = copy_case("e2e_two_clusters", scratch(self))
        out, results = self.check_against_reports(folder)
        # The table of NOTES.md, Dogwood's 0.5 s raised to 1.0 s.
        self.assertEqual(sorted((r["position"], r["program"], r["time"], r["solved"])
                                for r in results), sorted([
            ("1", "Alder", "10.0", "1"), ("1", "Elm", "3.0", "0"), ("1", "Birch", "5.0", "0"),
            ("1", "Cedar", "40.0", "1"), ("2", "Birch", "3.0", "1"),
            ("2", "Dogwood", "1.0", "1"), ("2", "Alder", "0.8", "0"),
            ("3", "Birch", "15.0", "1"), ("3", "Dogwood", "15.0", "1"),
            ("3", "Cedar", "10.0", "0"), ("4", "Alder", "25.0", "0"),
            ("4", "Cedar", "20.0", "0"), ("4", "Elm", "4.0", "0"), ("4", "Dogwood", "1.0", "0")]))
        self.assertEqual([(m["program"], m["opponent"], m["matches"], m["draws"])
                          for m in rows(out, "matches.csv")],
                         [("Alder", "Cedar", "1", "0"), ("Cedar", "Alder", "1", "0"),
                          ("Dogwood", "Birch", "2", "1"), ("Birch", "Dogwood", "2", "1")])
        summary = json.loads(read(os.path.join(out, "run.json")))["summary"]
        self.assertEqual((summary["programs"], summary["tested_positions"], summary["start_elo"],
                          summary["evaluated"]), (5, 4, 2600, {"count": 3, "of": 18,
                                                               "percent": 16.67}))

    def test_offsets_and_no_result_file(self):
        folder = copy_case("e2e_small", scratch(self))
        _, results = self.check_against_reports(folder)
        # Beta2's offset of 2 s comes off its solutions and off its limit of 60 s.
        beta = [(r["position"], r["time"], r["solved"]) for r in results if r["program"] == "Beta2"]
        self.assertEqual(beta, [("1", "28.0", "1"), ("2", "58.0", "0"), ("3", "3.0", "1")])
        os.remove(os.path.join(folder, "small.pgn"))
        out, results = self.check_against_reports(folder)
        # From positions.dat, as it prints them.
        self.assertIn(("2", "Beta2", "58.00", "0"),
                      [(r["position"], r["program"], r["time"], r["solved"]) for r in results])

    @unittest.skipUnless(BINARY, "needs the tarvolin program")
    def test_example_and_awkward_text(self):
        self.check_against_reports(run_example(self))
        folder = scratch(self)
        # A name with a quote, one with a byte that is not UTF-8 and one with
        # markup, labels with a comma: quoted in the CSV, U+FFFD in both exports,
        # escaped on the page.
        game = '[Event "e"]\n[Annotator "{}"]\n[FEN "{}"]\n\n{{{}}} *\n\n'
        write(os.path.join(folder, "odd.pgn"), (
            game.format("Mate, at once", "4k3/8/8/8/8/8/8/4K2R w K - 0 1",
                        "'A\"b' 3s, 'C\xe9' 5s, '<b>&x' 9s")
            + game.format("a,b", "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1",
                          "'A\"b' 4s, 'C\xe9' 2s, '<b>&x' 1s")).encode("latin-1"))
        run_tarvolin(folder, "odd")
        out, results = self.check_against_reports(folder)
        self.assertEqual({r["program"] for r in results}, {'A"b', "C\ufffd", "<b>&x"})
        self.assertIn(b'\r\n1,"Mate, at once",4k3/', read(os.path.join(out, "positions.csv")))
        self.assertIn(b',"A""b",', read(os.path.join(out, "results.csv")))
        page = read(os.path.join(out, "index.html")).decode()
        self.assertIn("&lt;b&gt;&amp;x", page)
        self.assertNotIn("<b>&x", page)


def run_example(test):
    folder = copy_case(EXAMPLES, scratch(test))
    run_tarvolin(folder, "suite")
    return folder


if __name__ == "__main__":
    unittest.main()
