#include "solve/epd_suite.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <utility>

namespace tarvolin::solve {
namespace {

TEST(EpdSuite, ReadsFieldsAndOperations) {
  std::istringstream in(
      "# a comment, then a blank line\n"
      "\n"
      "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O Rh8+; am Kd1; id \"Two; moves\"; hmvc 3; fmvn "
      "20;\r\n"
      "7k/8/8/3pP3/8/8/8/7K w - d6 am Kg1; c0 \"ignored\";\n");
  std::vector<SuitePosition> suite;
  std::string error;
  ASSERT_TRUE(read_suite(in, suite, error)) << error;
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
      {"7k/8/8/8/8/8/8/R6K w - e3 bm Ra8;",
       "en-passant square e3 is not on rank 6 for the side to move"},
      {"7k/8/8/8/8/8/8/R6K w - - 0 id \"x\";", "no bm, am or dm"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 501;", "dm 501 is not a mate in 1 to 500 moves"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 0;", "dm 0 is not a mate in 1 to 500 moves"},
      {"7k/8/8/8/8/8/8/R6K w - - dm 1 2;", "dm takes one number"},
      {"7k/8/8/8/8/8/8/R6K w - - bm;", "bm without a move"},
      {"7k/8/8/8/8/8/8/R6K b - - bm Ra8;", "bm Ra8 is not a legal move"},  // black's turn
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8 Qb2;", "bm Qb2 is not a legal move"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Zz9;", "bm Zz9 is not a SAN move"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8; hmvc x;", "hmvc is not a number"},
      {"7k/8/8/8/8/8/8/R6K w -", "fewer than four FEN fields"},
  };
  for (const auto& [line, reason] : cases) {
    std::istringstream in(before + "# note\n" + line + "\n" + after);
    std::vector<SuitePosition> suite;
    std::string error;
    EXPECT_FALSE(read_suite(in, suite, error)) << line;
    EXPECT_EQ(error, std::string("line 3: ") + reason) << line;
  }
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
    std::istringstream in(std::string("6k1/5ppp/8/8/8/8/8/R5K1 ") + rest);
    std::vector<SuitePosition> suite;
    std::string error;
    ASSERT_TRUE(read_suite(in, suite, error)) << rest << ": " << error;
    EXPECT_EQ(suite[0].fen, std::string("6k1/5ppp/8/8/8/8/8/R5K1 ") + fen);
    EXPECT_EQ(suite[0].label(true), label);
    EXPECT_EQ(std::string(label).rfind(suite[0].label(false) + " ", 0), 0u);  // the bare id
    EXPECT_EQ(suite[0].mate_in, mate_in);
  }
}

// Lines that read well but that no engine can solve, or that would mix up
// the result file: the suite and the one-line error.
TEST(EpdSuite, RejectsWhatNoEngineCanSolve) {
  const std::pair<const char*, const char*> cases[] = {
      {"7k/8/8/8/8/8/2Q5/R6K w - - bm Qa8;", "line 1: bm Qa8 is not a legal move"},
      {"7k/8/8/8/8/8/7P/R6K w - - bm h5;", "line 1: bm h5 is not a legal move"},
      {"7k/8/8/8/8/8/7P/R6K w - - bm Ra8 h4; am Kh3 Kg1;", "line 1: am Kh3 is not a legal move"},
      {"7k/8/1N3N2/8/8/8/8/R6K w - - bm Nd7;", "line 1: bm Nd7 is ambiguous (Nbd7, Nfd7)"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8+ Kg2; am Ra8;", "line 1: Ra8 is in both bm and am"},
      {"7k/8/8/8/8/8/8/R6K w - - bm Kg2; am Ra7 Kg2+;", "line 1: Kg2+ is in both bm and am"},
      {"8/8/8/8/8/8/8/R6K w - - bm Ra8;", "line 1: black has no king"},
      {"7k/8/8/8/8/8/8/R5KK w - - bm Ra8;", "line 1: white has 2 kings"},
      {"k7/8/8/8/8/8/8/R6K w - - bm Rb1;", "line 1: black is in check with white to move"},
      {"7k/8/8/8/8/8/8/R5PK w - - bm Ra8;", "line 1: a pawn on g1, the first or last rank"},
      {"7k/8/8/8/8/8/8/R6K w K - bm Ra8;", "line 1: castling right K without king and rook"},
      {"7k/8/8/3pP3/8/8/8/7K w - e6 bm exd6;", "line 1: en-passant square e6 without a black"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O;\n# again, written otherwise\n"
       "r3k2r/8/8/8/8/8/8/R3K2R w kqQK - bm O-O-O; hmvc 5; fmvn 40;",
       "line 3: the same position as line 1"},
  };
  for (const auto& [text, message] : cases) {
    std::istringstream in(text);
    std::vector<SuitePosition> suite;
    std::string error;
    EXPECT_FALSE(read_suite(in, suite, error)) << text;
    EXPECT_EQ(error.rfind(message, 0), 0u) << text << " -> " << error;
  }
}

// A suite line, an engine's move, whether that move solves it.
TEST(EpdSuite, EngineMovesAgainstSuiteMoves) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"r7/1P5k/8/8/8/8/7p/5K2 w - - bm bxa8=Q;", "b7a8q", true},
      {"r7/1P5k/8/8/8/8/7p/5K2 w - - bm bxa8=Q;", "b7a8n", false},
      {"r7/1P5k/8/8/8/8/7p/5K2 w - - bm bxa8=Q;", "b7a8", false},
      {"r7/1P5k/8/8/8/8/7p/5K2 w - - bm bxa8=Q;", "b7b8q", false},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - bm O-O-O;", "e8c8", true},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - bm O-O-O;", "e8a8", true},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - bm O-O-O;", "e8g8", false},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - bm O-O-O;", "e1c1", false},
      {"7k/8/8/R7/8/8/8/RN3N1K w - - bm Nfd2;", "f1d2", true},
      {"7k/8/8/R7/8/8/8/RN3N1K w - - bm Nfd2;", "b1d2", false},
      {"7k/8/8/R7/8/8/8/RN3N1K w - - am Nfd2;", "b1d2", true},
      {"7k/8/8/R7/8/8/8/RN3N1K w - - am Nfd2;", "b1b3", false},  // through its own rook
      {"rk5r/8/8/8/8/8/8/RK5R w HAha - bm O-O;", "b1h1", true},  // Chess960
      {"rk5r/8/8/8/8/8/8/RK5R w HAha - bm O-O;", "b1g1", false},
  };
  for (const auto& [line, move, right] : cases) {
    std::istringstream in(line);
    std::vector<SuitePosition> suite;
    std::string error;
    ASSERT_TRUE(read_suite(in, suite, error)) << line << ": " << error;
    EXPECT_EQ(suite[0].is_correct(move), right) << line << " " << move;
    EXPECT_EQ(suite[0].chess960, std::string(line).find("HAha") != std::string::npos);
  }
}

}  // namespace
}  // namespace tarvolin::solve
