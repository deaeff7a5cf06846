#include "chess/fen.h"

#include <vector>

namespace tarvolin::chess {

std::optional<int> parse_square(std::string_view text) {
  if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
    return std::nullopt;
  return square_at(text[0] - 'a', text[1] - '1');
}

std::string square_name(int square) {
  return {static_cast<char>('a' + file_of(square)), static_cast<char>('1' + rank_of(square))};
}

namespace {

bool read_placement(std::string_view placement, Position& position, std::string& why) {
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
      position.board[square_at(file++, rank)] = c;
    } else {
      // A byte that would not print (a NUL, a control) is named by its value.
      auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7f) {
        const char* hex = "0123456789abcdef";
        return why = std::string("byte 0x") + hex[byte >> 4] + hex[byte & 15] +
                     " in the piece placement",
               false;
      }
      return why = std::string("'") + c + "' in the piece placement", false;
    }
  }
  if (rank != 0 || file != 8) return why = "a placement without 8 ranks of 8 squares", false;
  return true;
}

// The file of the rook furthest from the king on that wing of its first
// rank, or the corner's file when there is none (no legal right then).
int outermost_rook(const Position& position, Color color, Wing wing, int king_file) {
  int home = color == white ? 0 : 7, corner = wing == king_side ? 7 : 0;
  int inward = wing == king_side ? -1 : 1;
  for (int file = corner; file != king_file; file += inward)
    if (position.board[square_at(file, home)] == piece_of('R', color)) return file;
  return corner;
}

// KQkq for the outermost rooks (so that a standard field means the corners),
// or rook files (A-H white, a-h black) for any rook, in any order and mixed;
// each right at most once. A file names its wing by where the king stands.
bool read_castling(std::string_view castling, Position& position) {
  if (castling == "-") return true;
  if (castling.empty()) return false;
  for (char c : castling) {
    Color color = c >= 'A' && c <= 'Z' ? white : black;
    char letter = color == white ? c : static_cast<char>(c - 'a' + 'A');
    int home = color == white ? 0 : 7;
    int king = king_square(position, color);
    int king_file = king >= 0 && rank_of(king) == home ? file_of(king) : 4;
    int file;
    Wing wing;
    if (letter == 'K' || letter == 'Q') {
      wing = letter == 'K' ? king_side : queen_side;
      file = outermost_rook(position, color, wing, king_file);
    } else if (letter >= 'A' && letter <= 'H' && (color == white || (c >= 'a' && c <= 'h'))) {
      file = letter - 'A';
      wing = file > king_file ? king_side : queen_side;
      position.chess960 = true;
    } else {
      return false;
    }
    if (position.castle_rook[color][wing] >= 0) return false;
    position.castle_rook[color][wing] = static_cast<std::int8_t>(file);
    // A right without its king and rook is illegal, and named as written.
    bool standing = king >= 0 && rank_of(king) == home &&
                    position.board[square_at(file, home)] == piece_of('R', color);
    if (standing && (file != (wing == king_side ? 7 : 0) || king_file != 4))
      position.chess960 = true;
  }
  return true;
}

std::vector<std::string_view> split_blanks(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' &&
           text[end] != '\n')
      ++end;
    words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

std::optional<int> read_count(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<Position> read_fen_fields(std::string_view placement, std::string_view side,
                                        std::string_view castling, std::string_view en_passant,
                                        std::string& why) {
  Position position;
  if (!read_placement(placement, position, why)) return std::nullopt;
  if (side != "w" && side != "b") return why = "side to move is not w or b", std::nullopt;
  position.side = side == "w" ? white : black;
  if (!read_castling(castling, position)) return why = "malformed castling field", std::nullopt;
  if (en_passant != "-") {
    std::optional<int> square = parse_square(en_passant);
    if (!square) return why = "malformed en-passant field", std::nullopt;
    position.en_passant = *square;
  }
  return position;
}

std::optional<Position> read_fen(std::string_view fen, std::string& why) {
  std::vector<std::string_view> fields = split_blanks(fen);
  if (fields.size() != 4 && fields.size() != 6)
    return why = "a FEN has four fields, or six with the move counters", std::nullopt;
  std::optional<Position> position =
      read_fen_fields(fields[0], fields[1], fields[2], fields[3], why);
  if (position && fields.size() == 6) {
    std::optional<int> halfmove = read_count(fields[4]), fullmove = read_count(fields[5]);
    if (!halfmove || !fullmove) return why = "a move counter is not a number", std::nullopt;
    position->halfmove = *halfmove;
    position->fullmove = *fullmove;
  }
  return position;
}

char castling_letter(const Position& position, Color color, Wing wing) {
  char letter = position.chess960   ? static_cast<char>('A' + position.castle_rook[color][wing])
                : wing == king_side ? 'K'
                                    : 'Q';
  return color == white ? letter : static_cast<char>(letter - 'A' + 'a');
}

std::string fen_fields(const Position& position) {
  std::string text;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      char piece = position.board[square_at(file, rank)];
      if (piece == EMPTY) {
        ++empty;
        continue;
      }
      if (empty > 0) text += static_cast<char>('0' + empty);
      empty = 0;
      text += piece;
    }
    if (empty > 0) text += static_cast<char>('0' + empty);
    if (rank > 0) text += '/';
  }
  text += position.side == white ? " w " : " b ";
  std::size_t before = text.size();
  for (Color color : {white, black})
    for (Wing wing : {king_side, queen_side})
      if (position.castle_rook[color][wing] >= 0) text += castling_letter(position, color, wing);
  if (text.size() == before) text += '-';
  text += ' ';
  text += position.en_passant >= 0 ? square_name(position.en_passant) : "-";
  return text;
}

std::string write_fen(const Position& position) {
  return fen_fields(position) + " " + std::to_string(position.halfmove) + " " +
         std::to_string(position.fullmove);
}

}  // namespace tarvolin::chess
