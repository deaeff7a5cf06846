// Long algebraic notation: the origin and target squares (e2e4, e7e8q), as
// engines speak it, and the longer forms some write (Qg3-g6, Rh4xh7, e2-e4).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chess/position.h"

namespace tarvolin::chess {

// How castling is written: as the king's move to its target square (e1g1,
// the standard form), or as the king taking its own rook (e1h1, the form of
// Chess960, where the first would be a plain king move at times).
enum class CastlingLan : std::uint8_t { king_target, king_takes_rook };

// e2e4, e7e8q; castling in the given form.
std::string to_lan(const Move& move, CastlingLan castling = CastlingLan::king_target);

// The legal move the text names, or nullopt for a null move (0000), a move
// that is not legal, or anything unreadable. Castling may be written in
// either form, in a Chess960 position only as the king taking its rook. An
// optional piece letter in front must be the piece on the origin square;
// '-' or 'x' may stand between the squares; the promotion may be upper or
// lower case and follow a '='. Trailing + # ! ? are ignored.
std::optional<Move> read_lan(const Position& position, std::string_view text);

}  // namespace tarvolin::chess
