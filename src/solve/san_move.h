// A move as a test suite writes it (SAN), and whether an engine's move in
// coordinate notation is that move.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "solve/board.h"

namespace tarvolin::solve {

enum class Castle { none, king_side, queen_side };

struct SanMove {
  char piece = 'P';  // upper case: K Q R B N P
  Castle castle = Castle::none;
  int to = -1;                         // target square (not used for castling)
  int from_file = -1, from_rank = -1;  // hints, -1 when absent
  char promotion = 0;                  // upper case, 0 when none
};

// Parses a SAN move for the side to move on the board; check, mate and
// annotation marks are ignored. nullopt (with a reason) when the text is not
// SAN or names a piece that side does not have.
std::optional<SanMove> parse_san(std::string_view text, const Board& board, std::string& why);

// True when the engine's move (e2e4, e7e8q, e1g1 or e1h1 for castling) is
// the SAN move on this board.
bool uci_matches_san(std::string_view uci, const SanMove& san, const Board& board);

}  // namespace tarvolin::solve
