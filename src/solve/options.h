// The command line of tarvolin-solve.
#pragma once

#include <string>
#include <vector>

#include "solve/engine_setup.h"

namespace tarvolin::solve {

struct Options {
  std::string epd, out;
  std::vector<EngineSetup> engines;
  std::string time_text;  // the limit as typed, for the ">LIMITs" entries
  long long time_ms = 0;
  int concurrency = 1;
  int shard = 1, shards = 1;
  bool rerun = false;
  bool label_solution = true;      // --label solution (else id): what a new game's label holds
  long long hold_ms = 0;           // --hold: 0 runs every search to the limit
  std::string summary_json;        // --summary-json FILE
  std::vector<std::string> merge;  // OUT then IN..., when merging
};

// Parses argv. Returns -1 to go on, or the exit code (0 after --help, 2 for
// bad usage with the message printed).
int parse_options(int argc, char** argv, Options& options);

// Every message of the tool: one line "tarvolin-solve: MESSAGE" on standard
// error. Returns code, for the caller to exit with.
int fail(const std::string& message, int code);

}  // namespace tarvolin::solve
