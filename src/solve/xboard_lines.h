// Reading what an xboard engine says: its features, its thinking lines and
// its moves, in whichever move notation it writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chess/position.h"
#include "solve/solution_time.h"

namespace tarvolin::solve {

struct Feature {
  std::string name, value;  // the value without its quotes
};

// The features of a "feature" line, in order; empty for any other line. A
// quoted value may hold blanks.
std::vector<Feature> read_features(std::string_view line);

// The move a text names in the position, in coordinates (e2e4, e7e8q,
// castling as the king taking its own rook, e1h1); nullopt when it is no
// legal move. SAN (Nf3, O-O), long algebraic (Qg3-g6, Rh4xh7) and
// coordinates are read.
std::optional<std::string> to_coordinates(const chess::Position& position, std::string_view text);

// A thinking line "ply score time nodes pv...", time in centiseconds, with
// its first PV move in coordinates. The extended forms' further numbers
// (seldepth, nps, tbhits), move numbers (1. or 1. ...) and the fail-high
// and fail-low marks (+) and (-) before the first move are passed over;
// nullopt for any other line or a first move that is not legal.
std::optional<PvReport> read_thinking_line(std::string_view line, const chess::Position& position,
                                           double wall_ms);

// Moves to mate for an xboard score in centipawns, nullopt when it is
// none: 100000+N and -100000-N are mate in N; within 250 below MATE for
// MATE of 10000, 30000, 32000, 32767, 100000 and 1000000 the score is MATE
// less the plies to mate, which become (plies + 1) / 2 moves.
std::optional<int> mate_moves(long long score);

}  // namespace tarvolin::solve
