// The few facts about a chess position that checking a suite and judging an
// engine's move need: which piece stands where and who is to move. No move
// generation: engines only send legal moves.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolin::solve {

struct Board {
  std::array<char, 64> squares{};  // index rank * 8 + file; FEN letters, '.' for empty
  bool white_to_move = true;
};

// 'a1' -> 0 ... 'h8' -> 63; nullopt for anything else.
std::optional<int> parse_square(std::string_view text);

// Reads the four position fields of a FEN (placement, side, castling, en
// passant). Returns the board, or a one-line reason why the fields are
// malformed.
std::optional<Board> parse_fen_fields(std::string_view placement, std::string_view side,
                                      std::string_view castling, std::string_view en_passant,
                                      std::string& why);

// True when the piece letter belongs to the side to move.
bool is_own_piece(const Board& board, char piece);

}  // namespace tarvolin::solve
