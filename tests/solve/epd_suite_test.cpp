#include "solve/epd_suite.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "solve/san_move.h"

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
  // A rank of 7 squares (last, then inner), 7 ranks, no such piece, side,
  // castling, castling order, en passant for white off rank 6, neither bm nor
  // am, bm without a move, black has no rook nor white a queen, a count not a
  // number, cut short.
  for (const char* line :
       {"7k/8/8/8/8/8/8/R5K w - - bm Ra8;", "7k/7/8/8/8/8/8/R6K w - - bm Ra8;",
        "7k/8/8/8/8/8/R6K w - - bm Ra8;", "7k/8/8/8/8/8/8/R6X w - - bm Ra8;",
        "7k/8/8/8/8/8/8/R6K x - - bm Ra8;", "7k/8/8/8/8/8/8/R6K w KX - bm Ra8;",
        "7k/8/8/8/8/8/8/R6K w qK - bm Ra8;", "7k/8/8/8/8/8/8/R6K w - e3 bm Ra8;",
        "7k/8/8/8/8/8/8/R6K w - - id \"x\";", "7k/8/8/8/8/8/8/R6K w - - bm;",
        "7k/8/8/8/8/8/8/R6K b - - bm Ra8;", "7k/8/8/8/8/8/8/R6K w - - bm Ra8 Qb2;",
        "7k/8/8/8/8/8/8/R6K w - - bm Ra8; hmvc x;", "7k/8/8/8/8/8/8/R6K w -"}) {
    std::istringstream in(good + "# note\n" + line + "\n" + good);
    std::vector<SuitePosition> suite;
    std::string error;
    EXPECT_FALSE(read_suite(in, suite, error)) << line;
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << line << " -> " << error;
  }
}

Board board_of(const std::string& fen) {
  std::istringstream in(fen);
  std::string placement, side, castling, en_passant, why;
  in >> placement >> side >> castling >> en_passant;
  std::optional<Board> board = parse_fen_fields(placement, side, castling, en_passant, why);
  EXPECT_TRUE(board) << fen << ": " << why;
  return board.value_or(Board{});
}

const char* const CASTLE_W = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
const char* const CASTLE_B = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
const char* const PROMOTE = "r7/1P5k/8/8/8/8/7p/6K1 w - -";
const char* const KNIGHTS = "7k/8/8/R7/8/8/8/RN3N1K w - -";
const char* const PASSANT = "7k/8/8/3pP3/8/8/8/7K w - d6";
const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

TEST(SanMatch, EngineMovesAgainstSuiteMoves) {
  // No engine move: the text is no move of the side to move (no queen, no rook, no such piece,
  // square or castling, onto its own pawn, a pawn onto the last rank without promotion and
  // elsewhere with one, a promotion of a piece, coordinates, a mark alone).
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      {CASTLE_W, "O-O", "e1g1", true},    {CASTLE_W, "O-O", "e1h1", true},
      {CASTLE_W, "0-0", "e1g1", true},    {CASTLE_W, "O-O", "e1c1", false},
      {CASTLE_W, "O-O", "e1f1", false},   {CASTLE_W, "O-O-O", "e1c1", true},
      {CASTLE_W, "O-O-O", "e1a1", true},  {CASTLE_W, "O-O-O", "e1g1", false},
      {CASTLE_W, "O-O-O", "e1d1", false}, {CASTLE_B, "O-O", "e8h8", true},
      {CASTLE_B, "O-O-O#", "e8c8", true}, {CASTLE_B, "O-O", "e1g1", false},
      {PROMOTE, "bxa8=Q", "b7a8q", true}, {PROMOTE, "bxa8=Q", "b7a8n", false},
      {PROMOTE, "b8N+", "b7b8n", true},   {PROMOTE, "b8=N", "b7b8", false},
      {PROMOTE, "bxa8Q!", "b7a8q", true}, {KNIGHTS, "Nbd2", "b1d2", true},
      {KNIGHTS, "Nbd2", "f1d2", false},   {KNIGHTS, "Nd2?!", "b1d2", true},
      {KNIGHTS, "R1a3", "a1a3", true},    {KNIGHTS, "R1a3", "a5a3", false},
      {KNIGHTS, "Ng2", "h1g2", false},    {KNIGHTS, "Kg2", "h1g2", true},
      {KNIGHTS, "Kg2", "h1g1", false},    {KNIGHTS, "Kg2", "zz", false},
      {PASSANT, "exd6", "e5d6", true},    {PASSANT, "e6", "e5e6", true},
      {KNIGHTS, "Qh5", nullptr, false},   {PASSANT, "Rd1", nullptr, false},
      {START, "Zf3", nullptr, false},     {START, "e9", nullptr, false},
      {START, "O-O-O-O", nullptr, false}, {START, "Nd2", nullptr, false},
      {PROMOTE, "b8", nullptr, false},    {START, "e4=Q", nullptr, false},
      {START, "Ne4=Q", nullptr, false},   {START, "e2e4", nullptr, false},
      {START, "+", nullptr, false},
  };
  for (const auto& [fen, text, uci, matches] : cases) {
    SCOPED_TRACE(std::string(fen) + " " + text + " " + (uci ? uci : "-"));
    Board board = board_of(fen);
    std::string why;
    std::optional<SanMove> san = parse_san(text, board, why);
    EXPECT_EQ(bool(san), uci != nullptr) << why;
    if (san && uci) {
      EXPECT_EQ(uci_matches_san(uci, *san, board), matches);
    }
  }
}

}  // namespace
}  // namespace tarvolin::solve
