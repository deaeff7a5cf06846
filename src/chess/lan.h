// Long algebraic notation: the origin and target squares (e2e4, e7e8q), as
// engines speak it, and the longer forms some write (Qg3-g6, Rh4xh7, e2-e4).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chess/position.h"

namespace tarvolin::chess {

// e2e4, e7e8q; castling as the king's two-square move (e1g1).
std::string to_lan(const Move& move);

// The legal move the text names, or nullopt for a null move (0000), a move
// that is not legal, or anything unreadable. Castling may be written as the
// king's two-square move or as the king taking its own rook (e1h1); an
// optional piece letter in front must be the piece on the origin square;
// '-' or 'x' may stand between the squares; the promotion may be upper or
// lower case and follow a '='. Trailing + # ! ? are ignored.
std::optional<Move> read_lan(const Position& position, std::string_view text);

}  // namespace tarvolin::chess
