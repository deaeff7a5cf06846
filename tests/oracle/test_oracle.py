#!/usr/bin/env python3
"""Checks the reference model against worked values that were derived by
hand or stated with the system's documented behaviour, so that the
expected files it produces rest on more than the model's own say-so.

Run: python3 tests/oracle/test_oracle.py
"""

import math
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import oracle  # noqa: E402
from oracle import (Run, estimated_time, run_case, score_to_elo,  # noqa: E402
                    split_entry, scan_double, time_score)


def close(x, y, tol):
    return abs(x - y) <= tol


def make_run(names):
    run = Run(".", "x", 2600.0)
    run.program_name = [None] + list(names)
    run.P = len(names)
    return run


def with_pair_results(run, results):
    """results: {(p, r): (games, points of p)}; fills both directions."""
    P = run.P
    run.pair_games = [[0] * (P + 1) for _ in range(P + 1)]
    run.pair_score = [[0.0] * (P + 1) for _ in range(P + 1)]
    run.match_total = [0] * (P + 1)
    for (p, r), (games, points) in results.items():
        run.pair_games[p][r] = run.pair_games[r][p] = games
        run.pair_score[p][r] = points
        run.pair_score[r][p] = games - points
        run.match_total[p] += games
        run.match_total[r] += games
    return run


def run_files(pgn, offset=None, start_elo=2600.0):
    """Runs the model on a result file written here; returns the Run."""
    with tempfile.TemporaryDirectory() as d:
        with open(os.path.join(d, "t.pgn"), "w") as f:
            f.write(pgn)
        if offset is not None:
            with open(os.path.join(d, "Offset.pgn"), "w") as f:
                f.write(offset)
        run = Run(d, "t", start_elo)
        try:
            run.execute()
        except oracle.FatalExit:
            run.fatal = True
        else:
            run.fatal = False
    return run


def game(fen, comment, label=None):
    tags = '[Event "x"]\n'
    if label is not None:
        tags += '[Annotator "%s"]\n' % label
    tags += '[FEN "%s"]\n' % fen
    return tags + "\n" + comment + "\n*\n\n"


def test_time_score_table():
    table = [
        (10, 20, 0.571463), (20, 10, 0.428537), (1, 2, 0.571463),
        (10, 10, 0.500000), (10, 40, 0.640065), (1, 65536, 0.990099),
        (0, 5, 0.998350), (10, -60, 0.838936), (60, -60, 0.750000),
        (1, -60, 0.922776), (-60, 10, 0.161064), (-60, 60, 0.250000),
        (-10, 100, 0.361173),
    ]
    for a, b, want in table:
        got = time_score(a, b)
        assert "%.6f" % got == "%.6f" % want, (a, b, got, want)
    # Equal times must be an exact draw, because draws are counted by ==.
    assert time_score(10.0, 10.0) == 0.5
    assert time_score(37.25, 37.25) == 0.5
    # The closed form 1 / (1 + (a/b)^k) with k from the 50-Elo-per-halving rule.
    k = 50.0 / (400.0 * math.log10(2.0))
    assert close(time_score(3.0, 7.0), 1.0 / (1.0 + (3.0 / 7.0) ** k), 1e-15)
    for t in (0.5, 3.0, 1000.0):
        assert close(time_score(t, -t), 0.75, 1e-15)
        assert close(time_score(-t, t), 0.25, 1e-15)
        assert close(time_score(t, 2 * t) + time_score(2 * t, t), 1.0, 1e-15)


def test_estimated_times():
    k = 50.0 / (400.0 * math.log10(2.0))
    for limit, mean, want in [(10, 10, 140.94), (60, 20, 617.98), (60, 60, 845.62),
                              (5, 30, 149.90), (30, 5, 266.09)]:
        got = estimated_time(-float(limit), float(mean))
        assert "%.2f" % got == "%.2f" % want, (limit, mean, got)
        closed_form = mean * (1.0 + 2.0 * (limit / mean) ** k) ** (1.0 / k)
        assert close(got, closed_form, 1e-9 * got)
        # The estimate scores against the mean exactly as the failure did.
        assert close(time_score(got, mean), time_score(-float(limit), float(mean)), 1e-12)
        assert got > 5.308 * limit


def test_score_to_elo():
    assert score_to_elo(0.0) == -800.0 and score_to_elo(1.0) == 800.0
    assert score_to_elo(-0.5) == -800.0 and score_to_elo(1.5) == 800.0
    assert score_to_elo(0.0099) == -800.0 and score_to_elo(0.9901) == 800.0
    assert "%.13f" % score_to_elo(0.009901) == "-799.9998245451161"
    assert "%.13f" % score_to_elo(0.990099) == "799.9998245451152"
    assert score_to_elo(0.5) == 0.0
    assert "%.13f" % score_to_elo(0.75) == "190.8485018878650"
    assert "%.13f" % score_to_elo(0.25) == "-190.8485018878650"
    assert "%.13f" % score_to_elo(0.9) == "381.6970037757300"


def test_entry_grammar():
    cases = [
        ("'Alpha 3.1' 12.3s", "Alpha3.1", 12.3),
        ("'Beta' >60s", "Beta", -60.0),
        ("'Gamma'0s", "Gamma", 0.0),
        ("'Delta' 7.25 sec", "Delta", 7.25),
        ("'Epsilon' > 120s", "Epsilon", -120.0),
        ("'Zeta' 1e1s", "Zeta", 10.0),
        ("'Alpha' 1s5", "Alpha", 1.0),
    ]
    for text, name, value in cases:
        got_name, field = split_entry(text)
        assert got_name == name, (text, got_name)
        assert scan_double(field) == value, (text, field)
    # A leading blank instead of the quote: empty name, unconvertible time.
    name, field = split_entry(" 'Alpha' 5s")
    assert name == "" and field == "Alpha'5" and scan_double(field) is None
    # The window ends at position 79: a name filling it leaves no time.
    name, field = split_entry("'" + "n" * 78 + "' 5s")
    assert name == "n" * 78 and field == ""


def test_result_reader_example():
    pgn = (game("F1", "{'Alpha' 12.3s, 'Beta 2' >60s}", "Pos 1")
           + '[Event "x"]\n[FEN "F2"]\n\n{\'Beta 2\' 4s, \'Gamma\' 0.5s} 1. e4 {\'Alpha\' 1s} *\n')
    run = Run(".", "x", 2600.0)
    run.read_result_file(pgn)
    assert run.program_name[1:] == ["Alpha", "Beta2", "Gamma"]
    assert run.position_label[1:] == ["Pos 1", "Pos 1"]
    assert run.solve == {(1, 1): 12.3, (2, 1): -60.0, (2, 2): 4.0, (3, 2): 0.5}
    assert "".join(run.out) == "(1) Alpha\n(2) Beta2\n(3) Gamma\n"


def test_offset_example():
    run = Run(".", "x", 2600.0)
    run.program_name = [None, "Alpha", "Beta"]
    run.frozen = True
    run.offset_sum = [0.0] * 3
    run.offset_n = [0] * 3
    run.read_offset_file('[Event "1"]\n{\'Alpha\' 9s, \'Beta\' 9s}\n'
                         '[Event "2"]\n{\'Alpha\' 0.4s, \'Beta\' 1.2s, \'Omega\' 3s}\n'
                         '[Event "3"]\n{\'Alpha\' 0.6s}\n')
    assert run.offset_n[1:] == [2, 1]
    assert close(run.offset_sum[1] / 2, 0.5, 1e-15) and run.offset_sum[2] == 1.2
    assert run.out == []


def test_difficulty_classes():
    expected = {1: [3], 2: [3, 3], 3: [2, 3, 3], 4: [2, 3, 3, 3], 5: [2, 2, 3, 3, 3],
                6: [1, 2, 2, 3, 3, 3], 10: [1, 1, 2, 2, 2, 3, 3, 3, 3, 3],
                12: [1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3]}
    for n, classes in expected.items():
        # Position q solved in q seconds: rank order is position order.
        pgn = "".join(game("F%d" % q, "{'A' %ds, 'B' %ds}" % (q + 1, q + 1)) for q in range(n))
        run = run_files(pgn)
        assert run.difficulty[1:] == classes, (n, run.difficulty)
    # Equal means: the higher-numbered position takes the lower rank.
    run = run_files(game("F1", "{'A' 5s, 'B' 5s}") + game("F2", "{'A' 9s, 'B' 9s}")
                    + game("F3", "{'A' 5s, 'B' 5s}"))
    assert run.difficulty[1:] == [3, 3, 2]


def test_three_programs_one_position():
    run = run_files(game("F1", "{'A' 10s, 'B' 20s, 'C' >60s}"))
    assert (run.match_count, run.complete_count, run.invalid_count) == (3, 1, 0)
    assert (run.wins[1:], run.losses[1:]) == ([2, 1, 0], [0, 1, 2])


def test_cluster_example_and_iteration():
    run = with_pair_results(make_run(["P1", "P2", "P3"]),
                            {(1, 2): (10, 7.5), (2, 3): (10, 5.0)})
    run.find_clusters()
    run.write_clusters()
    assert run.cluster_count == 1 and run.score_rate[1:] == [0.75, 0.375, 0.5]
    assert close(run.itoffset[1], 133.6950219 / 40, 1e-8)
    assert run.files["cluster.dat"] == (
        "Cluster No. 1:\n\n"
        + "%-40s (1)\n%-40s (2)\n%-40s (1)\n" % ("P1", "P2", "P3")
        + "\n3 programs, 20 matches\n\nitoffset = 3.342376\n\n\n")
    assert run.iterate() == 17
    assert ["%.4f" % e for e in run.elo[1:]] == ["2541.4645", "2353.9591", "2350.6174"]
    assert ["%.4f" % e for e in run.avg_opp[1:]] == ["2353.9591", "2446.0409", "2353.9591"]
    # The iteration must stop near the fixed point; solve it directly.
    # e1 = e2 + D1 - o, e3 = e2 + D3 - o, 40 * 2400 = 10 e1 + 20 e2 + 10 e3.
    o = run.itoffset[1]
    d1, d3 = score_to_elo(0.75), score_to_elo(0.5)
    e2 = (96000.0 - 10 * (d1 - o) - 10 * (d3 - o)) / 40.0
    for got, want in zip(run.elo[1:], [e2 + d1 - o, e2, e2 + d3 - o]):
        assert close(got, want, 0.002), (got, want)


def test_two_program_iteration():
    run = with_pair_results(make_run(["A", "B"]), {(1, 2): (8, 6.0)})
    run.find_clusters()
    run.write_clusters()
    assert abs(run.itoffset[1]) < 1e-12
    assert run.iterate() == 2
    assert ["%.7f" % e for e in run.elo[1:]] == ["2495.4242509", "2304.5757491"]


def test_chain_iteration_counts():
    for n, want in [(10, 294), (16, 771), (20, 1001)]:
        run = with_pair_results(make_run(["C%d" % i for i in range(1, n + 1)]),
                                {(i, i + 1): (10, 6.0) for i in range(1, n)})
        run.find_clusters()
        run.write_clusters()
        assert run.iterate() == want, n


def test_two_clusters_numbering():
    run = with_pair_results(make_run(["A", "B", "C", "D", "E"]),
                            {(1, 3): (2, 1.5), (2, 4): (3, 1.0)})
    run.find_clusters()
    assert run.cluster_count == 2 and run.cluster_id[1:] == [1, 2, 1, 2, 0]


def test_margin_example():
    run = run_files(game("F1", "{'P1' 10s, 'P2' 20s}") + game("F2", "{'P1' 20s, 'P2' 20s}"))
    assert "%.7f" % run.score_rate[1] == "0.5357316"
    assert "%.7f" % run.score_rate[2] == "0.4642684"
    assert "%.6f" % run.elo_margin[1] == "50.789009"
    assert "%.6f" % run.elo_margin[2] == "49.742454"


def test_margin_uses_recorded_failure_time():
    # P1 failed within 60 s, P2 solved in 10 s: one match each, margin 0,
    # but the squared deviation must use time_score(-60, 10) = 0.161064.
    run = run_files(game("F1", "{'P1' >60s, 'P2' 10s}") + game("F2", "{'P1' 10s, 'P2' 10s}"))
    s_match = time_score(estimated_time(-60.0, 10.0), 10.0)
    sr = (s_match + 0.5) / 2
    assert run.score_rate[1] == sr
    dev1 = time_score(-60.0, 10.0) - sr
    dev2 = 0.5 - sr
    stderr = math.sqrt((dev1 * dev1 + dev2 * dev2) / 2.0)
    assert run.elo_margin[1] == score_to_elo(2.0 * stderr + sr) - score_to_elo(sr)


def test_general_example():
    run = Run(".", "x", 2600.0)
    run.fname = "suite.pgn"
    run.P, run.Q, run.tested_positions = 12, 150, 148
    run.overall_mst1, run.overall_mst2, run.overall_imst = 23.44, 41.66, 96.21
    run.invalid_count, run.match_count, run.complete_count = 1234, 9000, 7000
    run.write_general()
    assert run.files["general.dat"] == (
        "\nDatabase  :   suite.pgn\n"
        "Programs  :     12\n"
        "Positions :    150 (tested: 148)\n"
        "\n"
        "MST1      :     23.4 s (solved positions only)\n"
        "MST2      :     41.7 s (including unsolved positions)\n"
        "iMST      :     96.2 s (estimated values for unsolved positions)\n"
        "\n"
        "Matches\n"
        "\n"
        "invalid   :   1234/10234 ->  12.06 %\n"
        "evaluated :   9000/10234 ->  87.94 %\n"
        "among them\n"
        "complete  :   7000/9000 ->  77.78 %\n"
        "uncomplete:   2000/9000 ->  22.22 %\n"
        "\n"
        "Start Elo :   2600\n")
    # No pair at all: zero denominators print 0.00 and the run goes on.
    run.invalid_count = run.match_count = run.complete_count = 0
    run.write_general()
    assert "invalid   :      0/0 ->   0.00 %\n" in run.files["general.dat"]
    assert "uncomplete:      0/0 ->   0.00 %\n" in run.files["general.dat"]


def test_rank_index_examples():
    for comment, want in [("{'A' 10s, 'B' 20s}", [1.0, 0.5]),
                          ("{'A' 10s, 'B' >60s}", [1.0, 0.0]),
                          ("{'A' >5s, 'B' 10s}", [0.0, 1.0])]:
        run = run_files(game("F1", comment))
        assert [run.rank_index(p) for p in (1, 2)] == want, comment


def test_difficulty_line():
    # Position MST2 10 and 40 against a database MST2 of 25:
    # 50 * log2(10/25) = -66.1 and 50 * log2(40/25) = +33.9.
    run = run_files(game("F1", "{'A' 10s, 'B' 10s}") + game("F2", "{'A' 40s, 'B' 40s}"))
    text = run.files["positions.dat"]
    assert "\nDegree of difficulty (based on MST2): 2533.9 (-66.1) Elo\n" in text
    assert "\nDegree of difficulty (based on MST2): 2633.9 (+33.9) Elo\n" in text


def test_limit_used_up_by_offset_stays_failure():
    offset = '[Event "1"]\n{}\n[Event "2"]\n{\'B\' 5s}\n'
    run = run_files(game("F1", "{'A' 2s, 'B' >3s}"), offset)
    assert run.st[2][1] == -1.0 and run.pos_mst2[1] == (2.0 + 1.0) / 2


def test_fatal_paths():
    with tempfile.TemporaryDirectory() as d:
        console, files, code = run_case(d, "nothing", 2600.0)
        assert code == 1 and files == {}
        assert console.endswith("\nName of pgn-file = \nFAILURE - Unable to open nothing.pgn\n")
    run = run_files(game("F1", "{'Solo' 3s}"))
    assert run.fatal and "".join(run.out).endswith(
        "\nReading t.pgn...\n(1) Solo\n1 programs\n1 positions\n\nLess than 2 programs !")


def test_committed_cases_match_model():
    data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    for case in ("e2e_small", "e2e_two_clusters"):
        case_dir = os.path.join(data, case)
        with open(os.path.join(case_dir, "answers.txt")) as f:
            name, start_elo = oracle.parse_answers(f.read())
        console, files, code = run_case(case_dir, name, start_elo)
        assert code == 0
        files["console.txt"] = console
        for fname, text in files.items():
            with open(os.path.join(case_dir, "expected", fname), "rb") as f:
                assert f.read() == text.encode("latin-1"), (case, fname)


def main():
    tests = [(n, f) for n, f in sorted(globals().items()) if n.startswith("test_")]
    for name, fn in tests:
        fn()
        print("ok", name)
    print("%d tests passed" % len(tests))


if __name__ == "__main__":
    main()
