// Whether a position read from FEN could stand on a board in a game, as far
// as a move generator and an engine need: the checks that keep both sane.
#pragma once

#include <string>

#include "chess/position.h"

namespace tarvolin::chess {

// Empty when the position is legal, else a one-line reason.
std::string illegal_reason(const Position& position);

}  // namespace tarvolin::chess
