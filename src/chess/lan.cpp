#include "chess/lan.h"

#include <algorithm>

#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/movegen.h"

namespace tarvolin::chess {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The king's target square, where a move leaves the king.
int king_target(const Move& move) {
  Color color = rank_of(move.from) == 0 ? white : black;
  return castle_king_target(color, castle_wing(move));
}

}  // namespace

std::string to_lan(const Move& move, CastlingLan castling) {
  bool target = move.kind == MoveKind::castle && castling == CastlingLan::king_target;
  int to = target ? king_target(move) : move.to;
  std::string text = square_name(move.from) + square_name(to);
  if (move.promotion) text += static_cast<char>(move.promotion - 'A' + 'a');
  return text;
}

std::optional<Move> read_lan(const Position& position, std::string_view text) {
  while (!text.empty() && std::string_view("+#!?").find(text.back()) != std::string_view::npos)
    text.remove_suffix(1);
  char piece = 0;
  if (!text.empty() && std::string_view("KQRBN").find(text.front()) != std::string_view::npos) {
    piece = text.front();
    text.remove_prefix(1);
  }
  if (text.size() < 4) return std::nullopt;
  std::optional<int> from = parse_square(text.substr(0, 2));
  text.remove_prefix(2);
  if (text.front() == '-' || text.front() == 'x') text.remove_prefix(1);
  std::optional<int> to = parse_square(text.substr(0, 2));
  if (!from || !to) return std::nullopt;
  text.remove_prefix(std::min<std::size_t>(2, text.size()));
  bool equals = !text.empty() && text.front() == '=';
  if (equals) text.remove_prefix(1);
  char promotion = 0;
  if (text.size() == 1 &&
      std::string_view("QRBN").find(upper(text.front())) != std::string_view::npos)
    promotion = upper(text.front());
  else if (!text.empty() || equals)
    return std::nullopt;
  if (piece && kind_of(position.board[*from]) != piece) return std::nullopt;
  for (const Move& move : legal_moves(position)) {
    if (move.from != *from || move.promotion != promotion) continue;
    bool target = move.kind == MoveKind::castle && !position.chess960 && king_target(move) == *to;
    if (move.to == *to || target) return move;
  }
  return std::nullopt;
}

}  // namespace tarvolin::chess
