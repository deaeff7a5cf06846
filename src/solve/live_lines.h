// The live lines on a terminal while a run goes on: one per worker, then
// the run's own line. A pure function of a snapshot, so that what the user
// sees can be checked without a terminal.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarvolin::solve {

struct WorkerLive {
  bool busy = false;
  int task = 0;  // 1-based, of the run's tasks
  std::string label, engine;
  double elapsed_s = 0;
  std::optional<int> depth;
  std::string move;  // the current first move, empty before the first PV
  bool right = false;
};

struct LiveSnapshot {
  int tasks = 0;
  std::string limit_text;  // --time as typed
  std::vector<WorkerLive> workers;
  std::string run_line;  // positions done, solved counts, elapsed and left
};

// Each line is cut to width - 1 bytes, so that none wraps and the redraw can
// count its lines; control bytes (an escape in a label) show as '?'.
std::vector<std::string> live_lines(const LiveSnapshot& snapshot, std::size_t width);

}  // namespace tarvolin::solve
