#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/movegen.h"
#include "chess/san.h"

namespace tarvolin::chess {

namespace {

// File, rank or both of the origin, as far as other pieces of the same kind
// going to the same square need it.
std::string disambiguation(const Position& position, const Move& move,
                           const std::vector<Move>& moves) {
  char piece = position.board[move.from];
  bool rivals = false, same_file = false, same_rank = false;
  for (const Move& other : moves) {
    if (other.to != move.to || other.from == move.from || other.kind == MoveKind::castle ||
        position.board[other.from] != piece)
      continue;
    rivals = true;
    same_file |= file_of(other.from) == file_of(move.from);
    same_rank |= rank_of(other.from) == rank_of(move.from);
  }
  std::string name = square_name(move.from);
  if (!rivals) return "";
  if (!same_file) return name.substr(0, 1);
  if (!same_rank) return name.substr(1, 1);
  return name;
}

}  // namespace

std::string to_san(const Position& position, const Move& move) {
  std::vector<Move> moves = legal_moves(position);
  std::string text;
  char kind = kind_of(position.board[move.from]);
  if (move.kind == MoveKind::castle) {
    text = castle_wing(move) == king_side ? "O-O" : "O-O-O";
  } else {
    bool capture = position.board[move.to] != EMPTY || move.kind == MoveKind::en_passant;
    if (kind == 'P') {
      if (capture) text += static_cast<char>('a' + file_of(move.from));
    } else {
      text += kind;
      text += disambiguation(position, move, moves);
    }
    if (capture) text += 'x';
    text += square_name(move.to);
    if (move.promotion) text += std::string("=") + move.promotion;
  }
  Position after = position;
  make_move(after, move);
  if (in_check(after)) text += legal_moves(after).empty() ? '#' : '+';
  return text;
}

}  // namespace tarvolin::chess
