// Standard algebraic notation (Nf3, exd6, O-O, e8=Q+), out and in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chess/position.h"

namespace tarvolin::chess {

// The move, which must be legal in the position, in SAN with its check or
// mate mark.
std::string to_san(const Position& position, const Move& move);

struct SanReading {
  enum Status { found, malformed, not_legal, ambiguous } status = malformed;
  Move move;                     // when found
  std::vector<Move> candidates;  // when ambiguous: every legal move it could be
};

// The one legal move a SAN text names. Trailing + # ! ? are ignored;
// castling may be written with O or 0, a promotion with or without '=', a
// capture with or without 'x'.
SanReading read_san(const Position& position, std::string_view text);

}  // namespace tarvolin::chess
