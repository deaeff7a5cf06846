// Playing a move on a position and taking it back.
#pragma once

#include "chess/position.h"

namespace tarvolin::chess {

// What a move destroys, so that unmake_move can restore it.
struct Undo {
  char captured = EMPTY;
  std::array<std::array<std::int8_t, 2>, 2> castle_rook{};
  int en_passant = -1, halfmove = 0, fullmove = 1;
};

// The squares the king and the rook end on when castling on that wing.
int castle_king_target(Color color, Wing wing);
int castle_rook_target(Color color, Wing wing);
Wing castle_wing(const Move& move);

// The move must be legal, or at least pseudo-legal, in the position.
Undo make_move(Position& position, const Move& move);
void unmake_move(Position& position, const Move& move, const Undo& undo);

}  // namespace tarvolin::chess
