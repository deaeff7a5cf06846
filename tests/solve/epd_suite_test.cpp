#include "solve/epd_suite.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "solve/solve_support.h"

namespace tarvolin::solve {
namespace {

using testing::suite_error;
using testing::suite_of;

TEST(EpdSuite, ReadsFieldsAndOperations) {
  std::vector<SuitePosition> suite = suite_of(
      "# a comment, then a blank line\n"
      "\n"
      "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O Rh8+; am Kd1; id \"Two; moves\"; hmvc 3; fmvn "
      "20;\r\n"
      "7k/8/8/3pP3/8/8/8/7K w - d6 am Kg1; c0 \"ignored\";\n");
  ASSERT_EQ(suite.size(), 2u);
  EXPECT_EQ(suite[0].fen, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 20");
  EXPECT_EQ(suite[0].label(), "Two; moves");
  EXPECT_EQ(suite[0].line, 3);
  EXPECT_EQ(suite[1].fen, "7k/8/8/3pP3/8/8/8/7K w - d6 0 1");
  EXPECT_EQ(suite[1].label(), "Pos 2");
  // bm and am together: one of the best moves, and not one to avoid; am
  // alone: every other move of the side to move.
  for (const char* move : {"e1g1", "e1h1", "h1h8"}) EXPECT_TRUE(suite[0].is_correct(move)) << move;
  for (const char* move : {"e1d1", "a1a8", "0000"}) EXPECT_FALSE(suite[0].is_correct(move)) << move;
  for (const char* move : {"e5d6", "h1h2"}) EXPECT_TRUE(suite[1].is_correct(move)) << move;
  // Never right: no move, the other side's, an illegal or unreadable one.
  for (const char* move : {"h1g1", "0000", "(none)", "h8g8", "", "h1", "h1h3", "e5e7", "e5e6xx"})
    EXPECT_FALSE(suite[1].is_correct(move)) << move;
}

TEST(EpdSuite, BadLinesStopWithTheirNumber) {
  // Around the bad line, two good ones of other positions.
  const std::string before = "6k1/8/8/8/8/8/8/R6K w - - bm Ra8+;\n",
                    after = "7k/8/8/8/8/8/8/R6K w - - bm Ra8+;\n";
  const std::pair<const char*, const char*> cases[] = {
      {"7k/8/8/8/8/8/8/R5K w - - bm Ra8;", "a placement without 8 ranks of 8 squares"},
      {"7k/7/8/8/8/8/8/R6K w - - bm Ra8;", "a rank without 8 squares"},
      {"7k/8/8/8/8/8/R6K w - - bm Ra8;", "a placement without 8 ranks of 8 squares"},
      {"7k/8/8/8/8/8/8/R6X w - - bm Ra8;", "'X' in the piece placement"},
      {"7k/8/8/8/8/8/8/R6K x - - bm Ra8;", "side to move is not w or b"},
      {"7k/8/8/8/8/8/8/R6K w KX - bm Ra8;", "malformed castling field"},
      {"7k/8/8/8/8/8/8/R6K w KK - bm Ra8;", "malformed castling field"},
      {"7k/8/8/8/8/8/8/R6K w - e9 bm Ra8;", "malformed en-passant field"},
      {"7k/8/8/8/8/8/8/R6K w - - 0 id \"x\";", "no bm, am or dm"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 501;", "dm 501 is not a mate in 1 to 500 moves"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 0;", "dm 0 is not a mate in 1 to 500 moves"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 1 2;", "dm takes one number"},
      {"7k/8/8/8/8/8/8/R6K w - - bm;", "bm without a move"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Zz9;", "bm Zz9 is not a SAN move"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8; hmvc x;", "hmvc is not a number"},
      {"7k/8/8/8/8/8/8/R6K w -", "fewer than four FEN fields"},
      // Lines that read well but that no engine can solve.
      {"7k/8/8/8/8/8/2Q5/R6K w - - bm Qa8;", "bm Qa8 is not a legal move"},
      {"7k/8/8/8/8/8/7P/R6K w - - bm Ra8 h4; am Kh3 Kg1;", "am Kh3 is not a legal move"},
      {"7k/8/1N3N2/8/8/8/8/R6K w - - bm Nd7;", "bm Nd7 is ambiguous (Nbd7, Nfd7)"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Kg2; am Ra7 Kg2+;", "Kg2+ is in both bm and am"},
      {"8/8/8/8/8/8/8/R6K w - - bm Ra8;", "black has no king"},
  };
  for (const auto& [line, reason] : cases)
    EXPECT_EQ(suite_error(before + "# note\n" + line + "\n" + after),
              std::string("line 3: ") + reason);
  // The same position written otherwise would share one game of the result file.
  EXPECT_EQ(suite_error("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O;\n"
                        "r3k2r/8/8/8/8/8/8/R3K2R w kqQK - bm O-O-O; hmvc 5; fmvn 40;"),
            "line 2: the same position as line 1");
}

// EPD as suites have it: move counters in the FEN (which beat hmvc and
// fmvn), comments, dm; the label with the solution as written.
TEST(EpdSuite, CountersMatesAndTheSolutionInTheLabel) {
  const std::tuple<const char*, const char*, const char*, int> cases[] = {
      {"w - - 5 40 bm Ra8#; id \"back\"; hmvc 1; fmvn 2;", "w - - 5 40", "back Ra8#", 0},
      {"w - - 0 1 c0 \"mate; now\"; dm 1;", "w - - 0 1", "Pos 1 dm 1", 1},
      {"w - - dm 1; am Kh2; bm Ra8 Ra7; id x;", "w - - 0 1", "x Ra8 Ra7 am Kh2 dm 1", 1},
      {"w - - am Kh2; hmvc 3; fmvn 9;", "w - - 3 9", "Pos 1 am Kh2", 0},
  };
  for (const auto& [rest, fen, label, mate_in] : cases) {
    std::vector<SuitePosition> suite = suite_of(std::string("6k1/5ppp/8/8/8/8/8/R5K1 ") + rest);
    ASSERT_EQ(suite.size(), 1u) << rest;
    EXPECT_EQ(suite[0].fen, std::string("6k1/5ppp/8/8/8/8/8/R5K1 ") + fen);
    EXPECT_EQ(suite[0].label(true), label);
    EXPECT_EQ(std::string(label).rfind(suite[0].label(false) + " ", 0), 0u);  // the bare id
    EXPECT_EQ(suite[0].mate_in, mate_in);
  }
}

}  // namespace
}  // namespace tarvolin::solve
