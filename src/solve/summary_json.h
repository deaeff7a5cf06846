// The summary of a run as JSON (--summary-json): the table per engine and
// this run's entries per position, for programs that compare runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin::solve {

// One row of the table after a run.
struct EngineRow {
  std::string name;
  int solved = 0, tried = 0, not_run = 0, kept = 0;
  std::optional<double> mean, median;  // seconds, over the solutions
};

// One engine on one position of this run.
struct EngineResult {
  std::size_t engine = 0;
  bool ran = false;   // false: crashed, hung, could not be started or was given up
  std::string entry;  // as written into the file, when it ran
  bool solved = false;
  double seconds = 0;  // when solved
};

struct PositionResult {
  int number = 0;
  std::string label, fen;
  std::vector<EngineResult> engines;
};

// The text is a JSON string, quotes included. Bytes that are not UTF-8 are
// written as the code point of the same number (\u0080 to \u00ff), so that
// the document stays valid and each byte can still be told apart.
std::string json_string(std::string_view text);

// {"engines": [...], "positions": [...]}: the positions in suite order.
std::string summary_json(const std::vector<EngineRow>& rows,
                         const std::vector<PositionResult>& positions);

}  // namespace tarvolin::solve
