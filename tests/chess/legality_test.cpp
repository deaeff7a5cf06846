#include "chess/legality.h"

#include <gtest/gtest.h>

#include <utility>

#include "chess/fen.h"

namespace tarvolin::chess {
namespace {

// The FEN and the start of the reason it is refused; "" for a legal
// position, nullptr where the FEN itself is malformed.
TEST(ChessLegality, ReasonsForImpossiblePositions) {
  const std::pair<const char*, const char*> cases[] = {
      {"7k/8/8/8/8/8/8/K7 b - -", ""},
      {"8/8/8/8/8/8/8/K7 w - -", "black has no king"},
      {"k7/8/8/8/8/8/8/KK6 w - -", "white has 2 kings"},
      {"k7/8/8/8/8/8/8/K6P w - -", "a pawn on h1, the first or last rank"},
      {"k6p/8/8/8/8/8/8/K7 b - -", "a pawn on h8, the first or last rank"},
      {"k7/8/8/8/8/8/8/R6K b - -", ""},  // the side to move may be in check
      {"k7/8/8/8/8/8/8/R6K w - -", "black is in check with white to move"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", ""},
      {"r3k2r/8/8/8/8/8/8/R3K2R w kqQK -", ""},  // any order
      {"r3k2r/8/8/8/8/8/8/R3K3 w K -", "castling right K without king and rook"},
      {"r3k2r/8/8/8/8/8/8/4K2R w Q -", "castling right Q without king and rook"},
      {"4k2r/8/8/8/8/8/8/4K3 w q -", "castling right q without king and rook"},
      // Chess960: KQkq name the outermost rook on that wing, file letters any rook.
      {"r3k2r/8/8/8/8/8/8/R3K1R1 w K -", ""},
      {"rk4r1/8/8/8/8/8/8/R1K1R3 w EAga -", ""},
      {"k7/8/8/8/8/8/8/4K2R w F -", "castling right F without king and rook"},
      {"k7/8/8/8/8/8/4K3/7R w H -", "castling right H without king and rook"},
      {"7k/8/8/3pP3/8/8/8/7K w - d6", ""},
      {"7k/8/8/8/3Pp3/8/8/7K b - d3", ""},
      {"7k/8/8/3pP3/8/8/8/7K w - d3", "en-passant square d3 is not on rank 6"},
      {"7k/8/8/4P3/8/8/8/7K w - d6", "en-passant square d6 without a black pawn"},
      {"7k/8/8/3PP3/8/8/8/7K w - d6", "en-passant square d6 without a black pawn"},
      {"7k/8/3n4/3pP3/8/8/8/7K w - d6", "en-passant square d6 or the pawn's origin"},
      {"7k/3n4/8/3pP3/8/8/8/7K w - d6", "en-passant square d6 or the pawn's origin"},
      {"k7/8/8/8/8/8/8/K7 w -", nullptr},
      {"k7/8/8/8/8/8/8/K7 w - - 0", nullptr},
      {"k7/8/8/8/8/8/8/K7 w - - x 1", nullptr},
  };
  for (const auto& [fen, reason] : cases) {
    std::string why;
    std::optional<Position> position = read_fen(fen, why);
    ASSERT_EQ(bool(position), reason != nullptr) << fen << ": " << why;
    if (!position) continue;
    std::string got = illegal_reason(*position);
    if (*reason == '\0') {
      EXPECT_EQ(got, "") << fen;
    } else {
      EXPECT_EQ(got.rfind(reason, 0), 0u) << fen << ": " << got;
    }
  }
}

TEST(ChessFen, UnprintableBytesAreNamedNotCopied) {
  std::string why;
  EXPECT_FALSE(read_fen(std::string_view("k7/8/8/8\0/8/8/8/K7 w - -", 24), why));
  EXPECT_EQ(why, "byte 0x00 in the piece placement");
  EXPECT_FALSE(read_fen("k7/8/8/8\xff/8/8/8/K7 w - -", why));
  EXPECT_EQ(why, "byte 0xff in the piece placement");
}

}  // namespace
}  // namespace tarvolin::chess
