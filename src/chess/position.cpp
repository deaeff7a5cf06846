#include "chess/position.h"

namespace tarvolin::chess {

bool is_color(char piece, Color color) {
  if (piece == EMPTY) return false;
  return (piece >= 'A' && piece <= 'Z') == (color == white);
}

char kind_of(char piece) {
  return piece >= 'a' && piece <= 'z' ? static_cast<char>(piece - 'a' + 'A') : piece;
}

char piece_of(char kind, Color color) {
  return color == white ? kind : static_cast<char>(kind - 'A' + 'a');
}

bool same_position(const Position& a, const Position& b) {
  return a.board == b.board && a.side == b.side && a.castle_rook == b.castle_rook &&
         a.en_passant == b.en_passant;
}

int king_square(const Position& position, Color color) {
  char king = piece_of('K', color);
  for (int square = 0; square < 64; ++square)
    if (position.board[square] == king) return square;
  return -1;
}

namespace {

constexpr int KNIGHT[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                              {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr int AROUND[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

bool piece_at(const Position& position, int square, char piece) {
  return square >= 0 && position.board[square] == piece;
}

// The first piece met going from the square in direction (df, dr).
char first_on_ray(const Position& position, int square, int df, int dr) {
  for (int at = step(square, df, dr); at >= 0; at = step(at, df, dr))
    if (position.board[at] != EMPTY) return position.board[at];
  return EMPTY;
}

}  // namespace

bool attacked(const Position& position, int square, Color by) {
  // A pawn of `by` attacks from one rank behind the square, as seen by `by`.
  int behind = by == white ? -1 : 1;
  for (int df : {-1, 1})
    if (piece_at(position, step(square, df, behind), piece_of('P', by))) return true;
  for (const auto& d : KNIGHT)
    if (piece_at(position, step(square, d[0], d[1]), piece_of('N', by))) return true;
  for (const auto& d : AROUND)
    if (piece_at(position, step(square, d[0], d[1]), piece_of('K', by))) return true;
  for (const auto& d : AROUND) {
    char piece = first_on_ray(position, square, d[0], d[1]);
    if (!is_color(piece, by)) continue;
    bool straight = d[0] == 0 || d[1] == 0;
    char kind = kind_of(piece);
    if (kind == 'Q' || kind == (straight ? 'R' : 'B')) return true;
  }
  return false;
}

bool in_check(const Position& position) {
  int king = king_square(position, position.side);
  return king >= 0 && attacked(position, king, opposite(position.side));
}

}  // namespace tarvolin::chess
