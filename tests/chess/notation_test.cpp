#include <gtest/gtest.h>

#include <tuple>

#include "chess/fen.h"
#include "chess/lan.h"
#include "chess/make_move.h"
#include "chess/movegen.h"
#include "chess/san.h"

namespace tarvolin::chess {
namespace {

Position at(const char* fen) {
  std::string why;
  std::optional<Position> position = read_fen(fen, why);
  EXPECT_TRUE(position) << fen << ": " << why;
  return position.value_or(Position{});
}

const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const char* const CASTLE_W = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
const char* const QUEENS = "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -";    // all three reach b2
const char* const KNIGHTS = "7k/8/8/R7/8/8/8/RN3N1K w - -";    // both knights reach d2
const char* const SAME_FILE = "4k3/8/8/3N4/8/8/8/3NK3 w - -";  // both knights reach c3
const char* const PROMOTE = "r7/1P5k/8/8/8/8/7p/5K2 w - -";
const char* const PASSANT = "7k/8/8/3pP3/8/8/8/7K w - d6";

// The text, and the move it names in long algebraic notation; "!" for no
// legal move, "?" for ambiguous, "" for not SAN at all.
TEST(ChessSan, ReadsTheOneLegalMove) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {QUEENS, "Qb2", "?"},         {QUEENS, "Q1b2", "?"},
      {KNIGHTS, "Nfxd2?!", "f1d2"}, {KNIGHTS, "Qh5", "!"},
      {PROMOTE, "bxa8Q+", "b7a8q"}, {PROMOTE, "b8", "!"},
      {PROMOTE, "a8=Q", "!"},       {PROMOTE, "b8=K", ""},
      {PROMOTE, "Nb8=Q", ""},       {CASTLE_W, "0-0", "e1g1"},
      {CASTLE_W, "0-0-0+", "e1c1"}, {CASTLE_W, "Rh8", "h1h8"},
      {CASTLE_W, "O-O-O-O", ""},    {PASSANT, "d6", "!"},
      {START, "Nf3!", "g1f3"},      {START, "Ng1f3", "g1f3"},
      {START, "Nd2", "!"},          {START, "e2e4", ""},
      {START, "Zf3", ""},           {START, "+", ""},
  };
  for (const auto& [fen, text, expected] : cases) {
    SCOPED_TRACE(std::string(fen) + " " + text);
    Position position = at(fen);
    SanReading reading = read_san(position, text);
    std::string got = reading.status == SanReading::found       ? to_lan(reading.move)
                      : reading.status == SanReading::ambiguous ? "?"
                      : reading.status == SanReading::not_legal ? "!"
                                                                : "";
    EXPECT_EQ(got, expected);
  }
}

TEST(ChessSan, WritesMarksAndDisambiguation) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {QUEENS, "a1b2", "Qa1b2"},
      {QUEENS, "a3b2", "Q3b2"},
      {KNIGHTS, "f1d2", "Nfd2"},
      {PASSANT, "e5d6", "exd6"},
      {CASTLE_W, "h1h8", "Rxh8+"},
      {"3k4/8/8/8/8/8/8/R3K3 w Q -", "e1c1", "O-O-O+"},
      {"7k/1P6/8/8/8/8/8/K7 w - -", "b7b8q", "b8=Q+"},
      {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -", "h5f7", "Qxf7#"},
  };
  for (const auto& [fen, lan, san] : cases) {
    Position position = at(fen);
    std::optional<Move> move = read_lan(position, lan);
    ASSERT_TRUE(move) << fen << " " << lan;
    EXPECT_EQ(to_san(position, *move), san) << fen << " " << lan;
  }
}

// The text and the move it names, nullptr when none.
TEST(ChessLan, ReadsEngineAndLongForms) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {START, "Ng1-f3+", "g1f3"},   {START, "Qg1f3", nullptr},   {START, "0000", nullptr},
      {START, "e2e5", nullptr},     {START, "e2", nullptr},      {START, "e2e4q", nullptr},
      {START, "e2e4e2e4", nullptr}, {CASTLE_W, "e1h1", "e1g1"},  {CASTLE_W, "Rh1xh8+", "h1h8"},
      {CASTLE_W, "e1b1", nullptr},  {PROMOTE, "b7a8Q", "b7a8q"}, {PROMOTE, "b7xa8=Q", "b7a8q"},
      {PROMOTE, "b7b8", nullptr},   {PROMOTE, "b7b8=", nullptr}, {PROMOTE, "b7b8k", nullptr},
  };
  for (const auto& [fen, text, expected] : cases) {
    std::optional<Move> move = read_lan(at(fen), text);
    EXPECT_EQ(move ? to_lan(*move) : "none", expected ? expected : "none") << fen << " " << text;
  }
}

// Over every legal move of the perft positions and of the positions one
// move on: what is written out reads back as the same move.
TEST(ChessNotation, EveryLegalMoveReadsBackFromSanAndLan) {
  const char* const fens[] = {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                              "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                              "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
                              "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
                              "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
                              "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
                              "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf -",
                              "rk5r/8/8/8/8/8/8/RK5R w KQkq -",
                              QUEENS,
                              SAME_FILE,
                              PASSANT};
  int checked = 0;
  for (const char* fen : fens) {
    Position root = at(fen);
    std::vector<Position> positions{root};
    for (const Move& move : legal_moves(root)) {
      positions.push_back(root);
      make_move(positions.back(), move);
    }
    for (const Position& position : positions)
      for (const Move& move : legal_moves(position)) {
        SanReading reading = read_san(position, to_san(position, move));
        EXPECT_TRUE(reading.status == SanReading::found && reading.move == move)
            << fen_fields(position) << " " << to_san(position, move);
        CastlingLan form =
            position.chess960 ? CastlingLan::king_takes_rook : CastlingLan::king_target;
        EXPECT_EQ(read_lan(position, to_lan(move, form)), move) << fen_fields(position);
        ++checked;
      }
  }
  EXPECT_GE(checked, 6637 + 3);  // the perft counts at depths 1 and 2, and more
}

}  // namespace
}  // namespace tarvolin::chess
