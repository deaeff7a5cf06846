#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "chess/fen.h"
#include "chess/lan.h"
#include "chess/legality.h"
#include "chess/movegen.h"
#include "chess/san.h"

namespace tarvolin::chess {
namespace {

Position at(const char* fen) {
  std::string why;
  std::optional<Position> position = read_fen(fen, why);
  EXPECT_TRUE(position) << fen << ": " << why;
  EXPECT_EQ(illegal_reason(position.value_or(Position{})), "") << fen;
  return position.value_or(Position{});
}

// The position, whether it is Chess960, and its castling moves as the king
// taking its rook. Hand-counted: what blocks and what attacks.
TEST(Chess960, CastlingMoves) {
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"k7/8/8/8/8/8/8/5KR1 w G -", true, "f1g1"},   // king and rook swap squares
      {"k4r2/8/8/8/8/8/8/6KR w K -", true, "g1h1"},  // the king stays; f1 is only the rook's
      {"7k/8/8/8/8/8/8/RK1N4 w Q -", true, ""},      // the rook's square d1 taken
      {"3r3k/8/8/8/8/8/8/RK6 w A -", true, "b1a1"},  // d1 attacked, only the rook's
      {"k3r3/8/8/8/8/8/8/2K4R w H -", true, ""},     // and passes e1
      {"k7/8/8/8/8/8/8/1KR5 w C -", true, "b1c1"},   // the king passes the rook's square
      {"k7/8/8/8/8/8/8/4K1RR w G -", true, "e1g1"},  // the inner rook
      {"k7/8/8/8/8/8/8/4K1RR w K -", false, ""},     // the outer one, g1 in the way
      {"rk5r/8/8/8/8/8/8/RK5R b kq -", true, "b8h8 b8a8"},
  };
  for (const auto& [fen, chess960, castles] : cases) {
    Position position = at(fen);
    EXPECT_EQ(position.chess960, chess960) << fen;
    std::string got;
    for (const Move& move : legal_moves(position))
      if (move.kind == MoveKind::castle)
        got.append(got.empty() ? "" : " ").append(to_lan(move, CastlingLan::king_takes_rook));
    EXPECT_EQ(got, castles) << fen;
  }
}

// In Chess960 only the king taking its rook is castling: f1g1 is a king
// step, b1g1 nothing. SAN is the same in both.
TEST(Chess960, CastlingInLanAndSan) {
  const Position position = at("4k3/8/8/8/8/8/8/R4K1R w HA -");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"f1h1", "O-O", "f1g1"}, {"f1g1", "Kg1", "f1g1"},   {"f1a1", "O-O-O", "f1c1"},
      {"f1c1", nullptr, ""},   {"Kf1xh1", "O-O", "f1g1"},
  };
  for (const auto& [text, san, standard] : cases) {
    std::optional<Move> move = read_lan(position, text);
    ASSERT_EQ(bool(move), san != nullptr) << text;
    if (!move) continue;
    EXPECT_EQ(to_san(position, *move), san) << text;
    EXPECT_EQ(read_san(position, san).move, *move) << text;
    EXPECT_EQ(to_lan(*move), standard) << text;
  }
  EXPECT_EQ(fen_fields(position), "4k3/8/8/8/8/8/8/R4K1R w HA -");
}

}  // namespace
}  // namespace tarvolin::chess
