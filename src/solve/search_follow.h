// What both protocols' search loops share: the PVs of one search, the early
// stop once its answer has settled (--hold), and the live state it reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solve/engine_process.h"
#include "solve/epd_suite.h"
#include "solve/solution_time.h"

namespace tarvolin::solve {

// Told each new PV of the running search, for the live progress lines. Called
// from the worker's thread.
class SearchWatch {
 public:
  virtual ~SearchWatch() = default;
  virtual void pv(std::optional<int> depth, const std::string& first_move, bool right) = 0;
};

class SearchFollow {
 public:
  // hold_ms 0: the search is never stopped early.
  SearchFollow(const SuitePosition& position, double hold_ms, SearchWatch* watch);

  // At "go".
  void start() { start_ = Clock::now(); }
  double ms() const { return ms_since(start_); }
  // Takes the PV, if the line is one; true when the search has now settled.
  bool add(const std::optional<PvReport>& pv);
  // Without a line: whether the search has settled by now.
  bool settled_now() const;
  // When to stop waiting for the next line: the deadline, or sooner while a
  // settled answer is looked for, so that it is seen without a line.
  Clock::time_point wake(Clock::time_point deadline) const;
  // The stop was sent for the settled answer.
  void stopped() { held_lines_ = pvs_.size(); }
  bool held() const { return held_lines_ > 0; }

  // The seconds of the entry for the engine's final move, nullopt when it
  // failed: with the held move after an early stop, the time over the lines
  // seen up to the stop; otherwise by the full rule on every line.
  std::optional<double> seconds(const std::string& final_move, double final_ms) const;

 private:
  bool correct(std::string_view move) const { return position_.is_correct(move); }

  const SuitePosition& position_;
  double hold_ms_;
  SearchWatch* watch_;
  Clock::time_point start_ = Clock::now();
  std::vector<PvReport> pvs_;
  std::size_t held_lines_ = 0;
};

}  // namespace tarvolin::solve
