// A test suite in EPD: one position per line, its solution in bm (best
// moves) and/or am (moves to avoid).
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "solve/board.h"
#include "solve/san_move.h"

namespace tarvolin::solve {

struct SuitePosition {
  int number = 0;  // 1-based, in suite order
  int line = 0;
  std::string fen;  // four fields, then hmvc and fmvn (or "0 1")
  std::string id;
  Board board;
  std::vector<SanMove> best, avoid;

  // The engine's move is right when it is one of the best moves (if any are
  // given) and none of the moves to avoid.
  bool is_correct(std::string_view uci_move) const;
  // The game label: the id, else "Pos N".
  std::string label() const;
};

// Reads the whole suite. On the first bad line returns false with a message
// naming the line; blank lines and lines starting with '#' are skipped.
bool read_suite(std::istream& in, std::vector<SuitePosition>& out, std::string& error);

}  // namespace tarvolin::solve
