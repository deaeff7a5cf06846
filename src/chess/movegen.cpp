#include "chess/movegen.h"

#include <algorithm>

#include "chess/make_move.h"

namespace tarvolin::chess {

namespace {

constexpr int KNIGHT[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                              {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr int AROUND[8][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};

void add(std::vector<Move>& moves, int from, int to, MoveKind kind = MoveKind::normal,
         char promotion = 0) {
  moves.push_back({static_cast<std::int8_t>(from), static_cast<std::int8_t>(to), promotion, kind});
}

void pawn_moves(const Position& position, int from, std::vector<Move>& moves) {
  Color us = position.side;
  int forward = us == white ? 1 : -1;
  int last = us == white ? 7 : 0, start = us == white ? 1 : 6;
  auto add_pawn = [&](int to, MoveKind kind) {
    if (rank_of(to) != last) return add(moves, from, to, kind);
    for (char promotion : {'Q', 'R', 'B', 'N'}) add(moves, from, to, kind, promotion);
  };
  int one = step(from, 0, forward);
  if (one >= 0 && position.board[one] == EMPTY) {
    add_pawn(one, MoveKind::normal);
    int two = step(one, 0, forward);
    if (rank_of(from) == start && position.board[two] == EMPTY)
      add(moves, from, two, MoveKind::double_push);
  }
  for (int df : {-1, 1}) {
    int to = step(from, df, forward);
    if (to < 0) continue;
    if (is_color(position.board[to], opposite(us))) add_pawn(to, MoveKind::normal);
    if (to == position.en_passant) add(moves, from, to, MoveKind::en_passant);
  }
}

void piece_moves(const Position& position, int from, std::vector<Move>& moves) {
  char kind = kind_of(position.board[from]);
  Color us = position.side;
  bool slides = kind == 'Q' || kind == 'R' || kind == 'B';
  const auto& steps = kind == 'N' ? KNIGHT : AROUND;
  int first = kind == 'B' ? 4 : 0, end = kind == 'R' ? 4 : 8;
  for (int d = first; d < end; ++d) {
    for (int to = step(from, steps[d][0], steps[d][1]); to >= 0;
         to = step(to, steps[d][0], steps[d][1])) {
      if (is_color(position.board[to], us)) break;
      add(moves, from, to);
      if (position.board[to] != EMPTY || !slides) break;
    }
  }
}

// The squares between a and b, both included.
bool span_clear(const Position& position, int a, int b, int king, int rook) {
  for (int square = std::min(a, b); square <= std::max(a, b); ++square)
    if (square != king && square != rook && position.board[square] != EMPTY) return false;
  return true;
}

void castle_moves(const Position& position, std::vector<Move>& moves) {
  Color us = position.side, them = opposite(us);
  int king = king_square(position, us);
  if (king < 0 || attacked(position, king, them)) return;
  for (Wing wing : {king_side, queen_side}) {
    int file = position.castle_rook[us][wing];
    if (file < 0) continue;
    int rook = square_at(file, rank_of(king));
    if (position.board[rook] != piece_of('R', us)) continue;
    int king_to = castle_king_target(us, wing), rook_to = castle_rook_target(us, wing);
    if (!span_clear(position, king, king_to, king, rook) ||
        !span_clear(position, rook, rook_to, king, rook))
      continue;
    // The king may not pass through check; its last square is checked with
    // every other move, once the move is made. In Chess960 it may not move
    // at all.
    bool safe = true;
    int direction = king_to > king ? 1 : -1;
    for (int square = king; square != king_to && safe;) {
      square += direction;
      safe = square == king_to || !attacked(position, square, them);
    }
    if (safe) add(moves, king, rook, MoveKind::castle);
  }
}

}  // namespace

std::vector<Move> legal_moves(const Position& position) {
  std::vector<Move> candidates;
  candidates.reserve(64);
  for (int from = 0; from < 64; ++from) {
    if (!is_color(position.board[from], position.side)) continue;
    if (kind_of(position.board[from]) == 'P')
      pawn_moves(position, from, candidates);
    else
      piece_moves(position, from, candidates);
  }
  castle_moves(position, candidates);
  Position scratch = position;
  std::vector<Move> moves;
  moves.reserve(candidates.size());
  Color us = position.side;
  for (const Move& move : candidates) {
    Undo undo = make_move(scratch, move);
    int king = king_square(scratch, us);
    if (king < 0 || !attacked(scratch, king, opposite(us))) moves.push_back(move);
    unmake_move(scratch, move, undo);
  }
  return moves;
}

std::uint64_t perft(Position& position, int depth) {
  if (depth <= 0) return 1;
  std::vector<Move> moves = legal_moves(position);
  if (depth == 1) return moves.size();
  std::uint64_t total = 0;
  for (const Move& move : moves) {
    Undo undo = make_move(position, move);
    total += perft(position, depth - 1);
    unmake_move(position, move, undo);
  }
  return total;
}

}  // namespace tarvolin::chess
