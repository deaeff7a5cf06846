#include "solve/epd_suite.h"

#include <gtest/gtest.h>

#include <sstream>

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
  for (const char* move : {"e1g1", "h1h8"}) EXPECT_TRUE(suite[0].is_correct(move)) << move;
  for (const char* move : {"e1d1", "a1a8"}) EXPECT_FALSE(suite[0].is_correct(move)) << move;
  for (const char* move : {"e5d6", "h1h2"}) EXPECT_TRUE(suite[1].is_correct(move)) << move;
  for (const char* move : {"h1g1", "0000", "(none)", "h8g8", "", "h1"})
    EXPECT_FALSE(suite[1].is_correct(move)) << move;
}

TEST(EpdSuite, BadLinesStopWithTheirNumber) {
  const std::string good = "7k/8/8/8/8/8/8/R6K w - - bm Ra8+;\n";
  const std::pair<std::string, std::string> cases[] = {
      {"7k/8/8/8/8/8/8/R5K w - - bm Ra8;", "line 3:"},      // a rank of 7 squares
      {"7k/8/8/8/8/8/R6K w - - bm Ra8;", "line 3:"},        // 7 ranks
      {"7k/8/8/8/8/8/8/R6X w - - bm Ra8;", "line 3:"},      // not a piece
      {"7k/8/8/8/8/8/8/R6K x - - bm Ra8;", "line 3:"},      // side
      {"7k/8/8/8/8/8/8/R6K w KX - bm Ra8;", "line 3:"},     // castling
      {"7k/8/8/8/8/8/8/R6K w qK - bm Ra8;", "line 3:"},     // castling order
      {"7k/8/8/8/8/8/8/R6K w - e3 bm Ra8;", "line 3:"},     // en passant for white is on rank 6
      {"7k/8/8/8/8/8/8/R6K w - - id \"x\";", "line 3:"},    // neither bm nor am
      {"7k/8/8/8/8/8/8/R6K w - - bm;", "line 3:"},          // bm without a move
      {"7k/8/8/8/8/8/8/R6K b - - bm Ra8;", "line 3:"},      // black has no rook
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8 Qb2;", "line 3:"},  // nor white a queen
      {"7k/8/8/8/8/8/8/R6K w - - bm Ra8; hmvc x;", "line 3:"},
      {"7k/8/8/8/8/8/8/R6K w -", "line 3:"},  // cut short
  };
  for (const auto& [line, wanted] : cases) {
    std::istringstream in(good + "# note\n" + line + "\n" + good);
    std::vector<SuitePosition> suite;
    std::string error;
    EXPECT_FALSE(read_suite(in, suite, error)) << line;
    EXPECT_EQ(error.rfind(wanted, 0), 0u) << line << " -> " << error;
  }
}

}  // namespace
}  // namespace tarvolin::solve
