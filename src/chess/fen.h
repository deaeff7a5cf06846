// Positions from and to FEN text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chess/position.h"

namespace tarvolin::chess {

// 'a1' -> 0 ... 'h8' -> 63; nullopt for anything else.
std::optional<int> parse_square(std::string_view text);
std::string square_name(int square);

// Reads the four position fields (placement, side, castling, en passant).
// Castling rights may be KQkq, or rook files as in Chess960 (HAha); KQkq
// name the outermost rook on that wing. The position is Chess960 when a
// right is a file letter or stands off e1/e8 and the corners.
// Returns nullopt with a one-line reason when they are malformed; whether
// the position could arise in a game is legality's business.
std::optional<Position> read_fen_fields(std::string_view placement, std::string_view side,
                                        std::string_view castling, std::string_view en_passant,
                                        std::string& why);

// A whole FEN: the four fields, then the two move counters if present.
std::optional<Position> read_fen(std::string_view fen, std::string& why);

// The letter of a castling right that the position has: K Q k q, or in
// Chess960 the rook's file (A-H white, a-h black).
char castling_letter(const Position& position, Color color, Wing wing);
// The four fields, castling always in the order KQkq (HAha in Chess960).
std::string fen_fields(const Position& position);
// The four fields and the two counters.
std::string write_fen(const Position& position);

}  // namespace tarvolin::chess
