// Which games of a result file stand for which suite position.
#pragma once

#include <string>
#include <string_view>

namespace tarvolin::solve {

// The first four FEN fields (placement, side to move, castling, en passant),
// joined by one blank: the position itself. The move counters that may follow
// do not change it, so a game written with other counters, or none, is the
// same position's game.
std::string position_key(std::string_view fen);

}  // namespace tarvolin::solve
