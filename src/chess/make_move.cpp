#include "chess/make_move.h"

namespace tarvolin::chess {

int castle_king_target(Color color, Wing wing) {
  return square_at(wing == king_side ? 6 : 2, color == white ? 0 : 7);
}

int castle_rook_target(Color color, Wing wing) {
  return square_at(wing == king_side ? 5 : 3, color == white ? 0 : 7);
}

Wing castle_wing(const Move& move) { return move.to > move.from ? king_side : queen_side; }

namespace {

// A right goes when the king moves, or when its rook leaves or is taken.
void drop_rights(Position& position, int square) {
  for (Color color : {white, black}) {
    int home = color == white ? 0 : 7;
    if (rank_of(square) != home) continue;
    for (Wing wing : {king_side, queen_side}) {
      int file = position.castle_rook[color][wing];
      bool king = position.board[square] == piece_of('K', color);
      if (file >= 0 && (king || file == file_of(square))) position.castle_rook[color][wing] = -1;
    }
  }
}

int pawn_forward(Color color) { return color == white ? 8 : -8; }

}  // namespace

Undo make_move(Position& position, const Move& move) {
  Undo undo{position.board[move.to], position.castle_rook, position.en_passant, position.halfmove,
            position.fullmove};
  Color us = position.side;
  char piece = position.board[move.from];
  position.en_passant = -1;
  ++position.halfmove;
  if (kind_of(piece) == 'P' || undo.captured != EMPTY) position.halfmove = 0;
  drop_rights(position, move.from);
  drop_rights(position, move.to);
  if (move.kind == MoveKind::castle) {
    undo.captured = EMPTY;  // the own rook is moved, not taken
    Wing wing = castle_wing(move);
    position.board[move.from] = EMPTY;
    position.board[move.to] = EMPTY;
    position.board[castle_king_target(us, wing)] = piece_of('K', us);
    position.board[castle_rook_target(us, wing)] = piece_of('R', us);
  } else {
    position.board[move.to] = move.promotion ? piece_of(move.promotion, us) : piece;
    position.board[move.from] = EMPTY;
    if (move.kind == MoveKind::en_passant) {
      undo.captured = position.board[move.to - pawn_forward(us)];
      position.board[move.to - pawn_forward(us)] = EMPTY;
      position.halfmove = 0;
    } else if (move.kind == MoveKind::double_push) {
      position.en_passant = move.from + pawn_forward(us);
    }
  }
  if (us == black) ++position.fullmove;
  position.side = opposite(us);
  return undo;
}

void unmake_move(Position& position, const Move& move, const Undo& undo) {
  Color us = opposite(position.side);
  position.side = us;
  position.castle_rook = undo.castle_rook;
  position.en_passant = undo.en_passant;
  position.halfmove = undo.halfmove;
  position.fullmove = undo.fullmove;
  if (move.kind == MoveKind::castle) {
    Wing wing = castle_wing(move);
    position.board[castle_king_target(us, wing)] = EMPTY;
    position.board[castle_rook_target(us, wing)] = EMPTY;
    position.board[move.from] = piece_of('K', us);
    position.board[move.to] = piece_of('R', us);
    return;
  }
  char piece = position.board[move.to];
  position.board[move.from] = move.promotion ? piece_of('P', us) : piece;
  if (move.kind == MoveKind::en_passant) {
    position.board[move.to] = EMPTY;
    position.board[move.to - pawn_forward(us)] = undo.captured;
  } else {
    position.board[move.to] = undo.captured;
  }
}

}  // namespace tarvolin::chess
