#include "solve/san_move.h"

#include <cctype>

namespace tarvolin::solve {

namespace {

char own(const Board& board, char upper) {
  return board.white_to_move ? upper : static_cast<char>(std::tolower(upper));
}

bool side_has(const Board& board, char upper) {
  for (char c : board.squares)
    if (c == own(board, upper)) return true;
  return false;
}

std::string_view strip_marks(std::string_view text) {
  while (!text.empty() && std::string_view("+#!?").find(text.back()) != std::string_view::npos)
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<SanMove> parse_san(std::string_view text, const Board& board, std::string& why) {
  std::string_view body = strip_marks(text);
  SanMove move;
  why.assign(1, '\'').append(text).append("' is not a SAN move for the side to move");
  if (body == "O-O" || body == "0-0" || body == "O-O-O" || body == "0-0-0") {
    move.piece = 'K';
    move.castle = body.size() == 3 ? Castle::king_side : Castle::queen_side;
    if (!side_has(board, 'K')) return std::nullopt;
    return move;
  }
  if (!body.empty() && std::string_view("QRBN").find(body.back()) != std::string_view::npos) {
    move.promotion = body.back();
    body.remove_suffix(1);
    if (!body.empty() && body.back() == '=') body.remove_suffix(1);
  }
  if (body.size() < 2) return std::nullopt;
  std::optional<int> to = parse_square(body.substr(body.size() - 2));
  if (!to) return std::nullopt;
  move.to = *to;
  body.remove_suffix(2);
  if (!body.empty() && std::string_view("KQRBN").find(body.front()) != std::string_view::npos) {
    move.piece = body.front();
    body.remove_prefix(1);
  }
  if (!body.empty() && body.back() == 'x') body.remove_suffix(1);
  if (!body.empty() && body.front() >= 'a' && body.front() <= 'h') {
    move.from_file = body.front() - 'a';
    body.remove_prefix(1);
  }
  if (!body.empty() && body.front() >= '1' && body.front() <= '8') {
    move.from_rank = body.front() - '1';
    body.remove_prefix(1);
  }
  if (!body.empty()) return std::nullopt;
  int last_rank = board.white_to_move ? 7 : 0;
  if (move.piece == 'P') {
    if ((move.promotion != 0) != (move.to / 8 == last_rank)) return std::nullopt;
    if (move.from_rank >= 0) return std::nullopt;
  } else if (move.promotion != 0) {
    return std::nullopt;
  }
  if (!side_has(board, move.piece) || is_own_piece(board, board.squares[move.to]))
    return std::nullopt;
  return move;
}

bool uci_matches_san(std::string_view uci, const SanMove& san, const Board& board) {
  if (uci.size() != 4 && uci.size() != 5) return false;
  std::optional<int> from = parse_square(uci.substr(0, 2));
  std::optional<int> to = parse_square(uci.substr(2, 2));
  if (!from || !to) return false;
  char piece = board.squares[*from];
  if (!is_own_piece(board, piece)) return false;
  char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(piece)));
  if (san.castle != Castle::none) {
    if (kind != 'K' || *from / 8 != *to / 8) return false;
    int step = *to % 8 - *from % 8;
    bool onto_rook = board.squares[*to] == own(board, 'R');
    if (san.castle == Castle::king_side) return step == 2 || (onto_rook && step > 0);
    return step == -2 || (onto_rook && step < 0);
  }
  if (kind != san.piece || *to != san.to) return false;
  if (san.from_file >= 0 && *from % 8 != san.from_file) return false;
  if (san.from_rank >= 0 && *from / 8 != san.from_rank) return false;
  char promotion =
      uci.size() == 5 ? static_cast<char>(std::toupper(static_cast<unsigned char>(uci[4]))) : 0;
  return promotion == san.promotion;
}

}  // namespace tarvolin::solve
