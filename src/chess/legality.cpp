#include "chess/legality.h"

#include "chess/fen.h"

namespace tarvolin::chess {

namespace {

const char* name(Color color) { return color == white ? "white" : "black"; }

std::string king_count_reason(const Position& position) {
  for (Color color : {white, black}) {
    int kings = 0;
    for (char piece : position.board) kings += piece == piece_of('K', color);
    if (kings == 0) return std::string(name(color)) + " has no king";
    if (kings > 1) return std::string(name(color)) + " has " + std::to_string(kings) + " kings";
  }
  return "";
}

// A right needs the king on its first rank and the rook on that rank, on
// the right's side of the king: the corners and e-file in standard chess,
// anywhere in Chess960.
std::string castling_reason(const Position& position) {
  for (Color color : {white, black})
    for (Wing wing : {king_side, queen_side}) {
      int file = position.castle_rook[color][wing];
      if (file < 0) continue;
      int home = color == white ? 0 : 7;
      int king = king_square(position, color);
      bool rook_side = wing == king_side ? file > file_of(king) : file < file_of(king);
      if (rank_of(king) == home && rook_side &&
          position.board[square_at(file, home)] == piece_of('R', color))
        continue;
      return std::string("castling right ") + castling_letter(position, color, wing) +
             " without king and rook on their home squares";
    }
  return "";
}

std::string en_passant_reason(const Position& position) {
  int square = position.en_passant;
  if (square < 0) return "";
  std::string text = "en-passant square " + square_name(square);
  // The side that just moved pushed a pawn two squares past this square.
  Color mover = opposite(position.side);
  int wanted = position.side == white ? 5 : 2;
  if (rank_of(square) != wanted)
    return text + " is not on rank " + std::to_string(wanted + 1) + " for the side to move";
  int forward = mover == white ? 1 : -1;
  if (position.board[step(square, 0, forward)] != piece_of('P', mover))
    return text + " without a " + name(mover) + " pawn in front of it";
  if (position.board[square] != EMPTY || position.board[step(square, 0, -forward)] != EMPTY)
    return text + " or the pawn's origin square is not empty";
  return "";
}

}  // namespace

std::string illegal_reason(const Position& position) {
  std::string reason = king_count_reason(position);
  if (!reason.empty()) return reason;
  for (int square = 0; square < 64; ++square)
    if (kind_of(position.board[square]) == 'P' && (rank_of(square) == 0 || rank_of(square) == 7))
      return "a pawn on " + square_name(square) + ", the first or last rank";
  Color waiting = opposite(position.side);
  if (attacked(position, king_square(position, waiting), position.side))
    return std::string(name(waiting)) + " is in check with " + name(position.side) + " to move";
  reason = castling_reason(position);
  if (!reason.empty()) return reason;
  return en_passant_reason(position);
}

}  // namespace tarvolin::chess
