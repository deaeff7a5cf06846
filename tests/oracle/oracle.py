#!/usr/bin/env python3
"""Independent reference model of a Tarvolin run.

Given a directory with the result file <name>.pgn (and optionally
Offset.pgn) and the start Elo, it produces the console transcript and the
five reports byte for byte, so that the C++ program's output can be
compared against figures that were not produced by the C++ program itself.

It is written for small, well-formed inputs and favours plain loops over
cleverness: every sum runs in the same order as in the program, because
floating-point sums in another order would differ in the last bits and
could flip a printed digit.

Usage:
    oracle.py CASE_DIR [OUT_DIR]
        reads the two answers from CASE_DIR/answers.txt, writes console.txt
        and the five reports into OUT_DIR (default: print the console).
    oracle.py CASE_DIR NAME START_ELO [OUT_DIR]
"""

import math
import os
import re
import sys

NOT_TESTED = -9999999.0
TESTED_BOUND = -9999998.0
ELO_BASE = 2400.0
TREND_MISSING = -10000.0
MAX_PROGRAMS = 1000
MAX_POSITIONS = 2000
MAX_CLUSTERS = 100

# Halving a time is worth 50 Elo; the exponent is evaluated in exactly this
# form because its last bit feeds every score.
K_EXP = 50.0 / (math.log10(2.0) * 400.0)

BANNER = ("Tarvolin, Version 1.0.4\n"
          "Rating chess programs by their solution times\n"
          "---------------------------------\n")


class FatalExit(Exception):
    """A fatal condition: the console text so far is complete, exit code 1."""


def is_tested(t):
    return t >= TESTED_BOUND


# --------------------------------------------------------------------------
# Numeric kernels
# --------------------------------------------------------------------------

def time_score(a, b):
    """Score of time a against time b (negative = failed within |t|)."""
    if 0.0 <= a < 0.000001:
        a = 0.000001
    if 0.0 <= b < 0.000001:
        b = 0.000001
    if a > 0 and b > 0:
        x = math.pow(a / b, -K_EXP)
        return 1.0 - 1.0 / (x + 1.0)
    if a > 0 and b < 0:
        x = math.pow(a / abs(b), -K_EXP)
        return 1.0 - 0.5 / (x + 1.0)
    if a < 0 and b > 0:
        x = math.pow(abs(a) / b, -K_EXP)
        return 0.5 - 0.5 / (x + 1.0)
    raise ValueError("time_score called with two failures")


def score_to_elo(p):
    if p < 0.009901:
        return -800.0
    if p > 0.990099:
        return 800.0
    return 400.0 * math.log10(p / (1.0 - p))


def estimated_time(t, m):
    """Solution time that would score against m as the failure t does."""
    s = time_score(t, m)
    return m * math.pow(s / (1.0 - s), -1.0 / K_EXP)


# --------------------------------------------------------------------------
# Input: a small emulation of the scanf-driven readers
# --------------------------------------------------------------------------

_C_SPACE = " \t\n\v\f\r"
_FLOAT_RE = re.compile(
    r"[+-]?(?:\d+\.?\d*(?:[eE][+-]?\d+)?|\.\d+(?:[eE][+-]?\d+)?)")


def scan_double(text):
    """'%lf': skip white space, convert the longest number prefix, or None."""
    i = 0
    while i < len(text) and text[i] in _C_SPACE:
        i += 1
    m = _FLOAT_RE.match(text, i)
    if not m:
        return None
    return float(m.group(0))


class Stream:
    def __init__(self, text):
        self.text = text
        self.pos = 0

    def eof(self):
        return self.pos >= len(self.text)

    def getc(self):
        if self.pos >= len(self.text):
            return None
        c = self.text[self.pos]
        self.pos += 1
        return c

    def ungetc(self):
        self.pos -= 1

    def scanset_excluding(self, stops):
        """'%[^...]': at least one character or None (nothing consumed)."""
        start = self.pos
        while self.pos < len(self.text) and self.text[self.pos] not in stops:
            self.pos += 1
        if self.pos == start:
            return None
        return self.text[start:self.pos]

    def skip_space(self):
        while self.pos < len(self.text) and self.text[self.pos] in _C_SPACE:
            self.pos += 1


def split_entry(entry):
    """The entry grammar: returns (name, time field)."""
    name = []
    timef = []
    in_name = True
    for c in entry[1:80]:
        if in_name:
            if c in (" ", "\n"):
                continue
            if c == "'":
                in_name = False
                continue
            name.append(c)
        else:
            if c == ">":
                timef.append("-")
            elif c in (" ", "\n"):
                continue
            elif c == "s":
                break
            else:
                timef.append(c)
    return "".join(name), "".join(timef)


def read_tag(st):
    """'%[^"]%c%[^"]%c%c\\n' after the '['; returns (name, value)."""
    name = st.scanset_excluding('"')
    if name is None:
        return "", ""
    if st.getc() is None:
        return name, ""
    value = st.scanset_excluding('"')
    if value is None:
        return name, ""
    if st.getc() is None or st.getc() is None:
        return name, value
    st.skip_space()
    return name, value


def read_comment(st, on_entry):
    """Cuts a result comment into entries; returns whether '}' was consumed."""
    closed = False
    while True:
        entry = st.scanset_excluding(",}") or ""
        end = "}"
        sep = st.scanset_excluding("'}")
        if sep is not None:
            c = st.getc()
            if c is not None:
                end = c
        if end == "'":
            st.ungetc()
        if end == "}":
            closed = True
        if entry:
            on_entry(entry)
        if end != "'":
            return closed


class Run:
    def __init__(self, workdir, answer_name, start_elo):
        self.workdir = workdir
        self.answer_name = answer_name
        self.start_elo = start_elo
        self.out = []
        self.files = {}
        self.program_name = [None]
        self.position_fen = [None]
        self.position_label = [None]
        self.frozen = False
        self.solve = {}          # (p, q) -> time; missing = NOT_TESTED

    def say(self, text):
        self.out.append(text)

    # ---- registries --------------------------------------------------
    def find_or_add_program(self, name):
        for i in range(len(self.program_name) - 1, 0, -1):
            if self.program_name[i] == name:
                return i
        if self.frozen:
            return -1
        if len(self.program_name) - 1 + 1 > MAX_PROGRAMS:
            self.say("More than %d programs !\n" % MAX_PROGRAMS)
            raise FatalExit()
        self.program_name.append(name)
        num = len(self.program_name) - 1
        self.say("(%d) %s\n" % (num, name))
        return num

    def find_or_add_position(self, fen):
        for i in range(len(self.position_fen) - 1, 0, -1):
            if self.position_fen[i] == fen:
                return i
        if len(self.position_fen) - 1 + 1 > MAX_POSITIONS:
            self.say("Mehr als %d Stellungen !\n" % MAX_POSITIONS)
            raise FatalExit()
        self.position_fen.append(fen)
        self.position_label.append("")
        return len(self.position_fen) - 1

    # ---- readers -----------------------------------------------------
    def read_result_file(self, text):
        st = Stream(text)
        in_comment = False
        results_read = False
        held_label = ""
        current = None

        def on_entry(entry):
            name, timef = split_entry(entry)
            p = self.find_or_add_program(name)
            value = scan_double(timef)
            if current is None or value is None:
                return  # no position yet, or no number: nothing stored
            self.solve[(p, current)] = value

        while True:
            c = st.getc()
            if c is None:
                break
            if c == "{":
                in_comment = True
                if not results_read:
                    if read_comment(st, on_entry):
                        in_comment = False
                    results_read = True
            elif c == "}":
                in_comment = False
            elif c == "[":
                if in_comment:
                    continue
                name, value = read_tag(st)
                if name == "Event ":
                    results_read = False
                elif name == "Annotator ":
                    held_label = value
                elif name == "FEN ":
                    current = self.find_or_add_position(value)
                    self.position_label[current] = held_label

    def read_offset_file(self, text):
        st = Stream(text)
        in_comment = False
        results_read = False
        games = 0
        use = [False]

        def on_entry(entry):
            if not use[0]:
                return
            name, timef = split_entry(entry)
            p = self.find_or_add_program(name)
            value = scan_double(timef)
            if p == -1 or value is None:
                return
            self.offset_sum[p] += value
            self.offset_n[p] += 1

        while True:
            c = st.getc()
            if c is None:
                break
            if c == "{":
                in_comment = True
                if not results_read:
                    use[0] = games > 1
                    if read_comment(st, on_entry):
                        in_comment = False
                    results_read = True
            elif c == "}":
                in_comment = False
            elif c == "[":
                if in_comment:
                    continue
                name, _ = read_tag(st)
                if name == "Event ":
                    results_read = False
                    games += 1

    # ---- the run -----------------------------------------------------
    def execute(self):
        self.say(BANNER)
        self.say("\nName of pgn-file = ")
        fname = self.answer_name + ".pgn"
        self.fname = fname
        path = os.path.join(self.workdir, fname)
        if not os.path.isfile(path):
            self.say("\nFAILURE - Unable to open %s\n" % fname)
            raise FatalExit()
        self.say("\nStart Elo = ")
        self.say("\nReading %s...\n" % fname)
        with open(path, "rb") as f:
            text = f.read().decode("latin-1").replace("\r\n", "\n")
        self.read_result_file(text)
        self.P = len(self.program_name) - 1
        self.Q = len(self.position_fen) - 1
        self.say("%d programs\n" % self.P)
        self.say("%d positions\n" % self.Q)
        if self.P < 2:
            self.say("\nLess than 2 programs !")
            raise FatalExit()
        if self.Q < 1:
            self.say("\nLess than 1 position !")
            raise FatalExit()
        self.frozen = True
        P, Q = self.P, self.Q
        self.st = [[NOT_TESTED] * (Q + 1) for _ in range(P + 1)]
        for (p, q), v in self.solve.items():
            self.st[p][q] = v
        self.offset_sum = [0.0] * (P + 1)
        self.offset_n = [0] * (P + 1)
        opath = os.path.join(self.workdir, "Offset.pgn")
        if os.path.isfile(opath):
            self.say("\nReading 'Offset.pgn'\n")
            with open(opath, "rb") as f:
                otext = f.read().decode("latin-1").replace("\r\n", "\n")
            self.read_offset_file(otext)
        else:
            self.say("\nCannot find 'Offset.pgn'\n")
        self.normalise()
        self.build_matches()
        self.say("%d matches\n" % self.match_count)
        self.write_general()
        self.say("Analysing database structure... \n")
        self.find_clusters()
        self.say("%d cluster(s)\n" % self.cluster_count)
        self.write_clusters()
        self.say("Calculating ELO ratings... ")
        self.iterations = self.iterate()
        if self.iterations >= 1000:
            self.say("Iteration failed - degenerated database\n")
        self.say("%d iterations\n" % self.iterations)
        self.margins()
        self.write_rating_and_programs()
        self.write_positions()
        self.say("CPU time = 0 sec\n")
        self.say("\nReady!")

    # ---- normalisation ----------------------------------------------
    def normalise(self):
        P, Q = self.P, self.Q
        self.time_offset = [0.0] * (P + 1)
        for p in range(1, P + 1):
            if self.offset_n[p] != 0:
                self.time_offset[p] = self.offset_sum[p] / float(self.offset_n[p])
        self.pos_mst1 = [0.0] * (Q + 1)
        self.pos_mst2 = [0.0] * (Q + 1)
        for q in range(1, Q + 1):
            s1 = s2 = 0.0
            n1 = n2 = 0
            for p in range(1, P + 1):
                t = self.st[p][q]
                if t < TESTED_BOUND:
                    continue
                if t >= 0.0:
                    t2 = t - self.time_offset[p]
                    if t2 < 1.0:
                        t2 = 1.0
                    self.st[p][q] = t2
                    s1 += t2
                    s2 += t2
                    n1 += 1
                    n2 += 1
                else:
                    t2 = t + self.time_offset[p]
                    if t2 >= 0.0:
                        # A limit used up by the offset stays a failure.
                        t2 = -1.0
                    self.st[p][q] = t2
                    s2 += abs(t2)
                    n2 += 1
            self.pos_mst1[q] = s1 / n1 if n1 != 0 else NOT_TESTED
            self.pos_mst2[q] = s2 / n2 if n2 != 0 else NOT_TESTED
        self.difficulty = [0] * (Q + 1)
        ranked = [False] * (Q + 1)
        a = Q // 3
        b = (2 * Q) // 3
        for k in range(1, Q + 1):
            choice = None
            for q in range(1, Q + 1):
                if ranked[q]:
                    continue
                if choice is None or self.pos_mst2[q] <= self.pos_mst2[choice]:
                    choice = q
            if k < a:
                cls = 1
            elif k < b:
                cls = 2
            else:
                cls = 3
            self.difficulty[choice] = cls
            ranked[choice] = True

    # ---- matches -----------------------------------------------------
    @staticmethod
    def pair_is_match(a, b):
        """Both tested; the pair can be scored."""
        if a < 0.0 and b < 0.0:
            return False
        if a < 0.0 and b >= 0.0 and b > abs(a):
            return False
        if a >= 0.0 and b < 0.0 and a > abs(b):
            return False
        return True

    def build_matches(self):
        P, Q = self.P, self.Q
        st = self.st
        self.est = [[NOT_TESTED] * (Q + 1) for _ in range(P + 1)]
        for p in range(1, P + 1):
            for q in range(1, Q + 1):
                t = st[p][q]
                if t < TESTED_BOUND:
                    continue
                if t >= 0.0:
                    self.est[p][q] = t
                elif self.pos_mst1[q] >= 0.0:
                    self.est[p][q] = estimated_time(t, self.pos_mst1[q])
                else:
                    self.est[p][q] = t
        self.match_total = [0] * (P + 1)
        self.wins = [0] * (P + 1)
        self.draws = [0] * (P + 1)
        self.losses = [0] * (P + 1)
        self.pair_games = [[0] * (P + 1) for _ in range(P + 1)]
        self.pair_score = [[0.0] * (P + 1) for _ in range(P + 1)]
        self.trend_count = [[0] * 4 for _ in range(P + 1)]
        self.trend_sum = [[0.0] * 4 for _ in range(P + 1)]
        raw_invalid = 0
        raw_complete = 0
        for p in range(1, P + 1):
            for r in range(1, P + 1):
                if r == p:
                    continue
                for q in range(1, Q + 1):
                    a = st[p][q]
                    b = st[r][q]
                    if a < TESTED_BOUND or b < TESTED_BOUND:
                        continue
                    if not self.pair_is_match(a, b):
                        raw_invalid += 1
                        continue
                    if a >= 0.0 and b >= 0.0:
                        raw_complete += 1
                    s = time_score(self.est[p][q], self.est[r][q])
                    self.match_total[p] += 1
                    self.pair_games[p][r] += 1
                    self.pair_score[p][r] += s
                    c = self.difficulty[q]
                    self.trend_count[p][c] += 1
                    self.trend_sum[p][c] += s
                    if s > 0.5:
                        self.wins[p] += 1
                    elif s < 0.5:
                        self.losses[p] += 1
                    else:
                        self.draws[p] += 1
        sums = [0.0, 0.0, 0.0]
        counts = [0, 0, 0]
        self.tested_positions = 0
        for q in range(1, Q + 1):
            seen = False
            for p in range(1, P + 1):
                x = st[p][q]
                if x >= 0.0:
                    sums[0] += x
                    counts[0] += 1
                if x >= TESTED_BOUND:
                    sums[1] += abs(x)
                    counts[1] += 1
                    if not seen:
                        seen = True
                        self.tested_positions += 1
                y = self.est[p][q]
                if y >= 0.0:
                    sums[2] += y
                    counts[2] += 1
        means = [s / n if n != 0 else 0.0 for s, n in zip(sums, counts)]
        self.overall_mst1, self.overall_mst2, self.overall_imst = means
        self.invalid_count = raw_invalid // 2
        self.complete_count = raw_complete // 2
        self.match_count = sum(self.match_total[1:]) // 2

    def write_general(self):
        inv = self.invalid_count
        mc = self.match_count
        cc = self.complete_count
        pairs = inv + mc

        def pct(n, d):
            return float(n) * 100.0 / float(d) if d != 0 else 0.0

        o = []
        o.append("\nDatabase  :   %s" % self.fname)
        o.append("\nPrograms  : %6d" % self.P)
        o.append("\nPositions : %6d (tested: %3d)\n" % (self.Q, self.tested_positions))
        o.append("\nMST1      :   %6.1f s (solved positions only)\n" % self.overall_mst1)
        o.append("MST2      :   %6.1f s (including unsolved positions)\n" % self.overall_mst2)
        o.append("iMST      :   %6.1f s (estimated values for unsolved positions)\n"
                 % self.overall_imst)
        o.append("\nMatches\n\n")
        o.append("invalid   : %6d/%d -> %6.2f %%\n" % (inv, pairs, pct(inv, pairs)))
        o.append("evaluated : %6d/%d -> %6.2f %%\n" % (mc, pairs, pct(mc, pairs)))
        o.append("among them\n")
        o.append("complete  : %6d/%d -> %6.2f %%\n" % (cc, mc, pct(cc, mc)))
        o.append("uncomplete: %6d/%d -> %6.2f %%\n" % (mc - cc, mc, pct(mc - cc, mc)))
        o.append("\nStart Elo : %6.0f\n" % self.start_elo)
        self.files["general.dat"] = "".join(o)

    # ---- clusters ----------------------------------------------------
    def linked(self, p, r):
        return self.pair_games[p][r] != 0 or self.pair_games[r][p] != 0

    def find_clusters(self):
        P = self.P
        self.cluster_id = [0] * (P + 1)
        visited = [self.match_total[p] == 0 for p in range(P + 1)]

        def search(p):
            if visited[p]:
                return
            for r in range(1, P + 1):
                if r == p or visited[r] or not self.linked(p, r) or self.cluster_id[r] != 0:
                    continue
                self.cluster_id[r] = self.cluster_id[p]
                search(r)
            visited[p] = True

        self.cluster_count = 0
        for p in range(1, P + 1):
            if self.cluster_id[p] == 0 and not visited[p]:
                self.cluster_count += 1
                if self.cluster_count > MAX_CLUSTERS:
                    self.say("Mehr als %d Cluster !\n" % MAX_CLUSTERS)
                    raise FatalExit()
                self.cluster_id[p] = self.cluster_count
                search(p)

    def write_clusters(self):
        P = self.P
        opp = [0] * (P + 1)
        for p in range(1, P + 1):
            if self.match_total[p] != 0:
                opp[p] = sum(1 for r in range(1, P + 1)
                             if r != p and self.match_total[r] != 0 and self.linked(p, r))
        self.score_rate = [0.0] * (P + 1)
        self.cluster_size = [0] * (self.cluster_count + 1)
        self.itoffset = [0.0] * (self.cluster_count + 1)
        o = []
        for c in range(1, self.cluster_count + 1):
            o.append("Cluster No. %d:\n\n" % c)
            offset_sum = 0.0
            msum = 0
            for p in range(1, P + 1):
                if self.cluster_id[p] != c:
                    continue
                points = 0.0
                for r in range(1, P + 1):
                    points += self.pair_score[p][r]
                self.cluster_size[c] += 1
                o.append("%-40s (%d)\n" % (self.program_name[p], opp[p]))
                msum += self.match_total[p]
                self.score_rate[p] = points / self.match_total[p]
                offset_sum += score_to_elo(self.score_rate[p]) * self.match_total[p]
            self.itoffset[c] = offset_sum / msum
            o.append("\n%d programs, %d matches\n" % (self.cluster_size[c], msum // 2))
            o.append("\nitoffset = %f\n\n\n" % self.itoffset[c])
        self.files["cluster.dat"] = "".join(o)

    # ---- ratings -----------------------------------------------------
    def iterate(self):
        P = self.P
        mt = self.match_total
        self.elo = [0.0] * (P + 1)
        self.avg_opp = [0.0] * (P + 1)
        prev = [ELO_BASE] * (P + 1)
        count = 0
        while True:
            count += 1
            for p in range(1, P + 1):
                if mt[p] == 0:
                    continue
                d = score_to_elo(self.score_rate[p])
                avg = 0.0
                for r in range(1, P + 1):
                    if r == p or mt[r] == 0:
                        continue
                    avg += (float(self.pair_games[p][r]) / float(mt[p])) * prev[r]
                self.avg_opp[p] = avg
                self.elo[p] = ((avg + d - self.itoffset[self.cluster_id[p]]) + prev[p]) * 0.5
            largest = 0.0
            for p in range(1, P + 1):
                if mt[p] == 0:
                    continue
                change = self.elo[p] - prev[p]
                if abs(change) > largest:
                    largest = abs(change)
                prev[p] = self.elo[p]
            if largest <= 0.001:
                break
            if count > 1000:
                break
        return count

    def margins(self):
        P, Q = self.P, self.Q
        st = self.st
        self.elo_margin = [0.0] * (P + 1)
        for p in range(1, P + 1):
            if self.match_total[p] == 0:
                continue
            sq = 0.0
            for r in range(1, P + 1):
                if r == p:
                    continue
                for q in range(1, Q + 1):
                    a = st[p][q]
                    b = st[r][q]
                    if a < TESTED_BOUND or b < TESTED_BOUND:
                        continue
                    if not self.pair_is_match(a, b):
                        continue
                    s = time_score(a, b)
                    dev = s - self.score_rate[p]
                    sq += dev * dev
            n = self.match_total[p]
            if n > 1:
                stderr = math.sqrt(sq / (float(n - 1) * float(n)))
            else:
                stderr = 0.0
            self.elo_margin[p] = (score_to_elo(2.0 * stderr + self.score_rate[p])
                                  - score_to_elo(self.score_rate[p]))

    # ---- reports -----------------------------------------------------
    def printed_elo(self, p):
        return self.elo[p] - ELO_BASE + self.start_elo

    def printed_av_op(self, p):
        return (self.avg_opp[p] - ELO_BASE + self.start_elo
                - self.itoffset[self.cluster_id[p]])

    def rank_index(self, p):
        if self.Q < 1:
            return 0.0
        comparisons = hits = 0
        for q in range(1, self.Q + 1):
            t = self.st[p][q]
            if t < TESTED_BOUND:
                continue
            a = abs(t)
            failed = t < 0.0
            for r in range(1, self.P + 1):
                u = self.st[r][q]
                if u < 0.0:
                    continue
                if failed and u > a:
                    continue
                comparisons += 1
                if a <= u:
                    hits += 1
        return float(hits) / float(comparisons) if comparisons else 0.0

    def time_stats(self, p):
        tested = solved = 0
        tsum = ssum = 0.0
        for q in range(1, self.Q + 1):
            t = self.st[p][q]
            if t >= TESTED_BOUND:
                tested += 1
                tsum += abs(t)
            if t >= 0.0:
                solved += 1
                ssum += t
        return tested, tsum, solved, ssum

    def write_rating_and_programs(self):
        P = self.P
        rt = []
        pr = ["Individual statistics: programs\n",
              "\nMST1     : Mean solution time (solved positions only)\n",
              "MST2     : Mean solution time (solved and unsolved positions)\n",
              "iMST     : Internal mean solution time (using estimated values for unsolved positions)\n",
              "RankIndex: Score according to solution time ranking for each position\n"]
        pending = [self.match_total[p] != 0 for p in range(P + 1)]
        for c in range(1, self.cluster_count + 1):
            rt.append("\n\n    Program %s Elo   +/-  Matches  Score   Av.Op.   S.Pos.   MST1    MST2   RIndex\n\n"
                      % (" " * 34))
            rank = 0
            for _ in range(self.cluster_size[c]):
                best = None
                for p in range(1, P + 1):
                    if pending[p] and self.cluster_id[p] == c:
                        if best is None or self.elo[p] > self.elo[best]:
                            best = p
                p = best
                rank += 1
                tested, tsum, solved, ssum = self.time_stats(p)
                mst1 = ssum / solved if solved else 0.0
                mst2 = tsum / tested if tested else 0.0
                rt.append("%3d %-40s : %4.0f  %3.0f  %5d   %5.1f %%   %4.0f   %3d/%3d  %5.1fs  %5.1fs   %4.2f\n"
                          % (rank, self.program_name[p], self.printed_elo(p),
                             abs(self.elo_margin[p]), self.match_total[p],
                             self.score_rate[p] * 100.0, self.printed_av_op(p),
                             solved, tested, mst1, mst2, self.rank_index(p)))
                pending[p] = False
                pr.append(self.program_details(p, rank, self.printed_av_op(p)))
        rt.append("\n\n\nMST1  : Mean solution time (solved positions only)\n")
        rt.append("MST2  : Mean solution time (solved and unsolved positions)\n")
        rt.append("RIndex: Score according to solution time ranking for each position\n")
        self.files["rating.dat"] = "".join(rt)
        self.files["programs.dat"] = "".join(pr)

    def program_details(self, p, rank, av_op):
        P, Q = self.P, self.Q
        o = []
        pe = self.printed_elo(p)
        o.append("\n\n%d %-40s (%.1f Elo) Trend: " % (rank, self.program_name[p], pe))
        trend = [0.0] * 4
        for k in (1, 2, 3):
            n = self.trend_count[p][k]
            if n != 0:
                trend[k] = score_to_elo(self.trend_sum[p][k] / n) + av_op - pe
            else:
                trend[k] = TREND_MISSING
        if trend[1] > TREND_MISSING:
            o.append(" %+.1f " % trend[1])
        else:
            o.append(" - ")
        for k in (2, 3):
            if trend[k] == trend[k - 1]:
                ch = "="
            elif trend[k] > trend[k - 1]:
                ch = "<"
            else:
                ch = ">"
            if trend[k] > TREND_MISSING:
                o.append(" %c %+.1f " % (ch, trend[k]))
            else:
                o.append(" - ")
        tested, tsum, solved, ssum = self.time_stats(p)
        icount = 0
        isum = 0.0
        for q in range(1, Q + 1):
            y = self.est[p][q]
            if y >= 0.0:
                icount += 1
                isum += y
        o.append("\n\nSolved positions:  %3d/%3d  (%.2f %%)\n"
                 % (solved, tested, solved * 100.0 / tested))
        o.append("TimeOffset      : %7.2f s\n" % self.time_offset[p])
        o.append("MST1            : %7.2f s\n" % (ssum / solved if solved else 0.0))
        o.append("MST2            : %7.2f s\n" % (tsum / tested))
        o.append("iMST            : %7.2f s\n" % (isum / icount))
        o.append("RankIndex       :    %4.2f\n" % self.rank_index(p))
        o.append("\nMatch results:\n")
        o.append("Total" + " " * 35 + ": %5d (+%4d,=%4d,-%4d), %4.1f %%\n\n"
                 % (self.match_total[p], self.wins[p], self.draws[p], self.losses[p],
                    self.score_rate[p] * 100.0))
        for r in range(1, P + 1):
            if r == p:
                continue
            w = d = l = 0
            for q in range(1, Q + 1):
                a = self.st[p][q]
                b = self.st[r][q]
                if a < TESTED_BOUND or b < TESTED_BOUND:
                    continue
                if not self.pair_is_match(a, b):
                    continue
                if abs(a) < abs(b):
                    w += 1
                elif abs(a) > abs(b):
                    l += 1
                else:
                    d += 1
            if w + d + l == 0:
                continue
            ps = self.pair_score[p][r]
            o.append("%-40s: %5d (+%4d,=%4d,-%4d), %4.1f %%\n"
                     % (self.program_name[r], w + d + l, w, d, l,
                        ps * 100.0 / (ps + self.pair_score[r][p])))
        return "".join(o)

    def write_positions(self):
        P, Q = self.P, self.Q
        o = ["Individual statistics: positions",
             "\n\nMST1  : Mean solution time (only programs solving the position)\n",
             "MST2  : Mean solution time (also programs not solving the position)\n",
             "iMST  : Internal mean solution time (using estimated time for unsolved results)"]
        for q in range(1, Q + 1):
            o.append("\n\n\nPosition %3d: %s\nFEN: %-80s"
                     % (q, self.position_label[q], self.position_fen[q]))
            pending = [False] * (P + 1)
            tested = solved = icount = 0
            tsum = isum = 0.0
            shown = 0.0
            for r in range(1, P + 1):
                t = self.st[r][q]
                if t < TESTED_BOUND:
                    continue
                pending[r] = True
                tested += 1
                tsum += abs(t)
                if t >= 0.0:
                    solved += 1
                y = self.est[r][q]
                if y >= 0.0:
                    icount += 1
                    isum += y
                    if t < 0.0:
                        shown = y
            if tested == 0:
                o.append("\nNot tested yet!\n")
                continue
            mst2 = tsum / tested
            o.append("\nSolved by %d of %d programs" % (solved, tested))
            if solved != 0:
                o.append("\nMST1: %6.1f s" % self.pos_mst1[q])
            else:
                o.append("\nMST1:    -")
            o.append("\nMST2: %6.1f s" % mst2)
            if icount != 0:
                o.append("\niMST: %6.1f s" % (isum / icount))
            else:
                o.append("\niMST:    -")
            if solved != icount:
                o.append(" (estimated: %.1f s)" % shown)
            diff = 50.0 * math.log10(mst2 / self.overall_mst2) / math.log10(2.0)
            o.append("\nDegree of difficulty (based on MST2): %.1f (%+.1f) Elo\n"
                     % (self.start_elo + diff, diff))
            for _ in range(tested):
                best = None
                for r in range(1, P + 1):
                    if pending[r] and (best is None or abs(self.st[r][q]) < abs(self.st[best][q])):
                        best = r
                pending[best] = False
                t = self.st[best][q]
                if t < 0.0:
                    mark = ">"
                elif t <= 1.0:
                    mark = "<"
                else:
                    mark = " "
                o.append("\n%-40s: %c%7.2f s" % (self.program_name[best], mark, abs(t)))
        self.files["positions.dat"] = "".join(o)


def run_case(workdir, answer_name, start_elo):
    """Returns (console text, {report name: text}, exit code)."""
    run = Run(workdir, answer_name, start_elo)
    try:
        run.execute()
        code = 0
    except FatalExit:
        code = 1
    return "".join(run.out), run.files, code


def parse_answers(text):
    """The file name line, then '%lf' over the rest (2600.0 if no number)."""
    name, _, rest = text.partition("\n")
    value = scan_double(rest)
    return name, (2600.0 if value is None else value)


def main(argv):
    if len(argv) in (2, 3):
        case_dir = argv[1]
        with open(os.path.join(case_dir, "answers.txt"), encoding="latin-1") as f:
            name, start_elo = parse_answers(f.read())
        out_dir = argv[2] if len(argv) == 3 else None
    elif len(argv) in (4, 5):
        case_dir, name, start_elo = argv[1], argv[2], float(argv[3])
        out_dir = argv[4] if len(argv) == 5 else None
    else:
        sys.stderr.write(__doc__)
        return 2
    console, files, code = run_case(case_dir, name, start_elo)
    if out_dir is None:
        sys.stdout.write(console)
        return code
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "console.txt"), "wb") as f:
        f.write(console.encode("latin-1"))
    for fname, text in files.items():
        with open(os.path.join(out_dir, fname), "wb") as f:
            f.write(text.encode("latin-1"))
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv))
