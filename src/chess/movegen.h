// The legal moves of the side to move, and perft, the count of move paths
// that checks a generator against published figures.
#pragma once

#include <cstdint>
#include <vector>

#include "chess/position.h"

namespace tarvolin::chess {

// Every legal move; the position should pass illegal_reason.
std::vector<Move> legal_moves(const Position& position);

// The number of legal move sequences of the given length.
std::uint64_t perft(Position& position, int depth);

}  // namespace tarvolin::chess
