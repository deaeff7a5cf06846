// A test suite in EPD: one position per line, its solution in bm (best
// moves), am (moves to avoid) and/or dm (a mate in so many moves).
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "chess/position.h"

namespace tarvolin::solve {

struct SuitePosition {
  int number = 0;  // 1-based, in suite order
  int line = 0;
  std::string fen;  // four fields, then the FEN's counters, else hmvc and fmvn (or "0 1")
  std::string id;
  std::string solution;  // as the suite writes it: "Rxb2", "Qg6 am Qh5", "dm 3"
  chess::Position position;
  std::vector<chess::Move> best, avoid;  // each legal, and none in both
  int mate_in = 0;                       // dm N: a mate in N moves; 0 when the suite gives none
  // Castling as in Chess960: rights in file letters, or king and rooks off
  // their usual squares.
  bool chess960 = false;

  // The engine's move (e2e4, e7e8q, castling as e1g1 or e1h1) is right when
  // it is a legal move, one of the best moves (if any are given) and none of
  // the moves to avoid.
  bool is_correct(std::string_view uci_move) const;
  // The id, else "Pos N"; with the solution, the game label of a new game
  // ("WAC.002 Rxb2").
  std::string label(bool with_solution = false) const;
};

// Reads the whole suite. On the first bad line returns false with a message
// naming the line; blank lines and lines starting with '#' are skipped. A
// line is bad when its FEN is malformed or no legal position, when it has no
// bm, am or dm, when a bm or am move is not the one legal move its text
// names, when a move is in both, when dm is not 1 to 500, and when it
// repeats the position of an earlier line.
bool read_suite(std::istream& in, std::vector<SuitePosition>& out, std::string& error);

}  // namespace tarvolin::solve
