// What a run has to do: the positions of its shard, and per position the
// engines whose entry the result file lacks (or all of them with --rerun);
// and what it leaves to the file, so that the summary can say so.
#pragma once

#include <string>
#include <vector>

#include "solve/epd_suite.h"
#include "solve/options.h"
#include "solve/result_doc.h"
#include "solve/run_suite.h"

namespace tarvolin::solve {

struct KeptEntries {
  int entries = 0;          // on the shard's positions, not run again
  int shorter = 0;          // of them, failures within a shorter limit than this run's
  double lowest = 0;        // the shortest such limit, in seconds
  std::string lowest_text;  // as the file writes it
};

struct RunPlan {
  int positions = 0;  // in the shard
  std::vector<Task> tasks;
  std::vector<KeptEntries> kept;  // per engine
};

RunPlan plan_run(const std::vector<SuitePosition>& suite, const Options& options,
                 const std::vector<std::string>& names, const ResultDoc& doc);

// Takes the engines that cannot play Chess960 (plays[engine] false) off the
// Chess960 positions, and drops tasks left without an engine. Returns per
// engine the positions taken from it.
std::vector<int> leave_out_chess960(RunPlan& plan, const std::vector<bool>& plays);

// The limit of a failure entry ('Name' >2.5s gives 2.5 and "2.5"); false
// for a solution or what is no entry.
bool failure_limit(std::string_view entry, double& seconds, std::string& text);

}  // namespace tarvolin::solve
