// A chess position as the four FEN fields describe it, plus the two move
// counters, on a mailbox of 64 squares (a1 = 0, b1 = 1, ..., h8 = 63).
#pragma once

#include <array>
#include <cstdint>

namespace tarvolin::chess {

enum Color : std::uint8_t { white = 0, black = 1 };
enum Wing : std::uint8_t { king_side = 0, queen_side = 1 };

constexpr int file_of(int square) { return square & 7; }
constexpr int rank_of(int square) { return square >> 3; }
constexpr int square_at(int file, int rank) { return rank * 8 + file; }
constexpr Color opposite(Color color) { return color == white ? black : white; }

// The square df files and dr ranks away, or -1 off the board.
constexpr int step(int square, int df, int dr) {
  int file = file_of(square) + df, rank = rank_of(square) + dr;
  return file < 0 || file > 7 || rank < 0 || rank > 7 ? -1 : square_at(file, rank);
}

// Pieces are FEN letters (upper case white), '.' an empty square.
constexpr char EMPTY = '.';
bool is_color(char piece, Color color);
char kind_of(char piece);               // upper case letter, EMPTY for EMPTY
char piece_of(char kind, Color color);  // 'N', black -> 'n'

enum class MoveKind : std::uint8_t { normal, double_push, en_passant, castle };

// Castling is the king taking its own rook (to = the rook's square), so that
// a rook on any file can castle; the king and rook end on g and f, or c and d.
struct Move {
  std::int8_t from = 0, to = 0;
  char promotion = 0;  // upper case kind, 0 when none
  MoveKind kind = MoveKind::normal;
  bool operator==(const Move&) const = default;
};

struct Position {
  std::array<char, 64> board{};
  Color side = white;
  // The file of the rook each side may still castle with, -1 when none.
  std::array<std::array<std::int8_t, 2>, 2> castle_rook{{{-1, -1}, {-1, -1}}};
  int en_passant = -1;  // the square a pawn passed over, -1 when none
  int halfmove = 0, fullmove = 1;
  // Castling as in Chess960: set by reading the castling field when a right
  // is written as a rook's file or its king or rook stands off e1/e8 and the
  // corners. It decides how castling is read and written in long algebraic
  // and FEN; the moves are the same either way.
  bool chess960 = false;

  Position() { board.fill(EMPTY); }
};

// Board, side, castling and en passant equal; the counters and the
// Chess960 flag do not count.
bool same_position(const Position& a, const Position& b);

// The king's square of that colour, -1 when it has none (the first one
// when it has several).
int king_square(const Position& position, Color color);
// Whether a piece of colour `by` attacks the square.
bool attacked(const Position& position, int square, Color by);
// Whether the side to move stands in check.
bool in_check(const Position& position);

}  // namespace tarvolin::chess
