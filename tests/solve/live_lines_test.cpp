#include "solve/live_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

TEST(LiveLines, OneLinePerWorkerThenTheRun) {
  LiveSnapshot snapshot{10, "2.5", {}, "3/10 positions, solved: SF 2"};
  snapshot.workers = {
      {true, 4, "WAC.004", "SF", 1.25, 17, "e2e4", true},
      {true, 5, "WAC.005", "Toga", 0.04, {}, "", false},
      {false, 0, "", "", 0, {}, "", false},
      {true, 6, "WAC.006", "SF", 2.5, 9, "d2d4", false},
  };
  const std::vector<std::string> expected = {
      "[1] 4/10 WAC.004  SF  1.2s of 2.5s  depth 17  e2e4 (right)",
      "[2] 5/10 WAC.005  Toga  0.0s of 2.5s  no move yet",
      "[3] idle",
      "[4] 6/10 WAC.006  SF  2.5s of 2.5s  depth 9  d2d4 (wrong)",
      "3/10 positions, solved: SF 2",
  };
  EXPECT_EQ(live_lines(snapshot, 200), expected);
}

// A line as wide as the terminal would wrap and spoil the redraw; an escape
// in a label would move the cursor.
TEST(LiveLines, CutToTheWidthAndHarmless) {
  LiveSnapshot snapshot{1, "1", {{true, 1, "a\033[2Jb", "E", 0, {}, "", false}}, "0123456789"};
  const std::vector<std::string> expected = {"[1] 1/1 a?[2Jb  E  0", "012345678"};
  EXPECT_EQ(live_lines(snapshot, 21)[0], expected[0]);
  EXPECT_EQ(live_lines(snapshot, 10)[1], expected[1]);
}

// On a pseudo-terminal two workers draw their lines, and the run ends them
// with the cursor shown again.
TEST(SolveConcurrency, LiveLinesOnATerminal) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(3));
  std::string command = "script -qfec \"'" + std::string(TARVOLIN_SOLVE) + "' --epd s.epd " +
                        fake_engine("e",
                                    "name E\nposition 7k\ninfo depth 4 pv a1a8\nsleep 1200\n"
                                    "bestmove a1a8\n") +
                        " --time 2 --concurrency 2 --out o.pgn\" live.out </dev/null >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << dir.read("live.out");
  std::string screen = dir.read("live.out");
  for (const char* part : {"\033[?25l[1] ", "[2] ", "depth 4  a1a8 (right)",
                           "3/3 positions, solved: E 3", "\n\033[?25h"})
    EXPECT_TRUE(contains(screen, part));
  EXPECT_EQ(solved_count(result_comments(dir.read("o.pgn")), "E"), 3);
}

}  // namespace
}  // namespace tarvolin::solve::testing
