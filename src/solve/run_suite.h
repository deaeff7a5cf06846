// Runs the engines over the suite's positions with a fixed number of
// workers, and keeps the result file up to date after every position.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "solve/engine.h"
#include "solve/epd_suite.h"
#include "solve/progress.h"
#include "solve/result_doc.h"

namespace tarvolin::solve {

struct Task {
  const SuitePosition* position;
  std::vector<std::size_t> engines;  // indexes of the engines still to run on it
};

struct RunSetup {
  std::string out_path, event, time_text;
  long long time_ms = 0;
  long long hold_ms = 0;           // searches stop once settled this long; 0 never
  std::vector<std::string> names;  // per engine, as written into the file
  bool label_solution = true;      // a new game's label: the id and the solution, else the id
};

// Each worker owns one session per engine. Returns 0 when every task ran,
// 1 when some engine crashed or hung or the file could not be written.
// Appends what each position's engines did to results, in suite order.
int run_tasks(const RunSetup& setup, const std::vector<Task>& tasks,
              std::vector<std::vector<std::unique_ptr<Engine>>>& workers, ResultDoc& doc,
              Progress& progress, std::vector<PositionResult>& results);

// "'Name' 1.234s" or "'Name' >LIMITs".
std::string entry_text(const std::string& name, const SearchOutcome& outcome,
                       const std::string& time_text);

}  // namespace tarvolin::solve
