#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/movegen.h"
#include "chess/san.h"

namespace tarvolin::chess {

namespace {

struct Pattern {
  char kind = 'P';
  int to = -1, file = -1, rank = -1;  // origin hints, -1 when absent
  char promotion = 0;
  int castle = -1;  // a Wing when castling
};

std::string_view strip_marks(std::string_view text) {
  while (!text.empty() && std::string_view("+#!?").find(text.back()) != std::string_view::npos)
    text.remove_suffix(1);
  return text;
}

bool read_pattern(std::string_view body, Pattern& pattern) {
  if (body == "O-O" || body == "0-0") return pattern.castle = king_side, true;
  if (body == "O-O-O" || body == "0-0-0") return pattern.castle = queen_side, true;
  if (!body.empty() && std::string_view("QRBN").find(body.back()) != std::string_view::npos) {
    pattern.promotion = body.back();
    body.remove_suffix(1);
    if (!body.empty() && body.back() == '=') body.remove_suffix(1);
  }
  if (body.size() < 2) return false;
  std::optional<int> to = parse_square(body.substr(body.size() - 2));
  if (!to) return false;
  pattern.to = *to;
  body.remove_suffix(2);
  if (!body.empty() && std::string_view("KQRBN").find(body.front()) != std::string_view::npos) {
    pattern.kind = body.front();
    body.remove_prefix(1);
  }
  if (!body.empty() && body.back() == 'x') body.remove_suffix(1);
  if (!body.empty() && body.front() >= 'a' && body.front() <= 'h') {
    pattern.file = body.front() - 'a';
    body.remove_prefix(1);
  }
  if (!body.empty() && body.front() >= '1' && body.front() <= '8') {
    pattern.rank = body.front() - '1';
    body.remove_prefix(1);
  }
  // A pawn is named by its file alone; only pawns promote.
  if (pattern.kind == 'P' && pattern.rank >= 0) return false;
  return body.empty() && (pattern.kind == 'P' || pattern.promotion == 0);
}

bool fits(const Position& position, const Move& move, const Pattern& pattern) {
  if (pattern.castle >= 0)
    return move.kind == MoveKind::castle && castle_wing(move) == pattern.castle;
  if (move.kind == MoveKind::castle || move.to != pattern.to ||
      kind_of(position.board[move.from]) != pattern.kind || move.promotion != pattern.promotion)
    return false;
  if (pattern.file >= 0 && file_of(move.from) != pattern.file) return false;
  if (pattern.rank >= 0 && rank_of(move.from) != pattern.rank) return false;
  // A pawn capture names the file it comes from.
  return pattern.kind != 'P' || file_of(move.from) == file_of(move.to) || pattern.file >= 0;
}

}  // namespace

SanReading read_san(const Position& position, std::string_view text) {
  SanReading reading;
  Pattern pattern;
  if (!read_pattern(strip_marks(text), pattern)) return reading;
  for (const Move& move : legal_moves(position))
    if (fits(position, move, pattern)) reading.candidates.push_back(move);
  if (reading.candidates.empty()) {
    reading.status = SanReading::not_legal;
  } else if (reading.candidates.size() > 1) {
    reading.status = SanReading::ambiguous;
  } else {
    reading.status = SanReading::found;
    reading.move = reading.candidates.front();
    reading.candidates.clear();
  }
  return reading;
}

}  // namespace tarvolin::chess
