#include "solve/board.h"

#include <cctype>

namespace tarvolin::solve {

std::optional<int> parse_square(std::string_view text) {
  if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
    return std::nullopt;
  return (text[1] - '1') * 8 + (text[0] - 'a');
}

namespace {

bool read_placement(std::string_view placement, Board& board, std::string& why) {
  int rank = 7, file = 0;
  for (char c : placement) {
    if (c == '/') {
      if (file != 8 || rank == 0) return why = "a rank without 8 squares", false;
      --rank, file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return why = "a rank with more than 8 squares", false;
    } else if (std::string_view("KQRBNPkqrbnp").find(c) != std::string_view::npos) {
      if (file >= 8) return why = "a rank with more than 8 squares", false;
      board.squares[rank * 8 + file++] = c;
    } else {
      return why = std::string("'") + c + "' in the piece placement", false;
    }
  }
  if (rank != 0 || file != 8) return why = "a placement without 8 ranks of 8 squares", false;
  return true;
}

bool valid_castling(std::string_view castling) {
  if (castling == "-") return true;
  if (castling.empty() || castling.size() > 4) return false;
  std::string_view order = "KQkq";
  std::size_t last = 0;
  for (char c : castling) {
    std::size_t at = order.find(c);
    // Files (Shredder style, for Chess960) are accepted too.
    bool file = (c >= 'A' && c <= 'H') || (c >= 'a' && c <= 'h');
    if (at == std::string_view::npos && !file) return false;
    if (at != std::string_view::npos) {
      if (at + 1 <= last) return false;
      last = at + 1;
    }
  }
  return true;
}

}  // namespace

std::optional<Board> parse_fen_fields(std::string_view placement, std::string_view side,
                                      std::string_view castling, std::string_view en_passant,
                                      std::string& why) {
  Board board;
  board.squares.fill('.');
  if (!read_placement(placement, board, why)) return std::nullopt;
  if (side != "w" && side != "b") return why = "side to move is not w or b", std::nullopt;
  board.white_to_move = side == "w";
  if (!valid_castling(castling)) return why = "malformed castling field", std::nullopt;
  if (en_passant != "-") {
    std::optional<int> square = parse_square(en_passant);
    int wanted_rank = board.white_to_move ? 5 : 2;
    if (!square || *square / 8 != wanted_rank)
      return why = "malformed en-passant field", std::nullopt;
  }
  return board;
}

bool is_own_piece(const Board& board, char piece) {
  if (piece == '.') return false;
  return board.white_to_move ? std::isupper(static_cast<unsigned char>(piece)) != 0
                             : std::islower(static_cast<unsigned char>(piece)) != 0;
}

}  // namespace tarvolin::solve
