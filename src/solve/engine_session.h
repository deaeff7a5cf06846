// The UCI conversation with one engine: hand-shake, options, and one search
// per position, with the limits that keep a misbehaving engine from stalling
// the run.
#pragma once

#include <string>

#include "solve/engine_process.h"
#include "solve/engine_setup.h"
#include "solve/epd_suite.h"

namespace tarvolin::solve {

struct SearchOutcome {
  enum Kind { solved, unsolved, crashed, hung } kind = unsolved;
  double seconds = 0;           // for solved
  std::string restart_failure;  // after a crash or hang, why the engine could not be restarted
};

class EngineSession {
 public:
  explicit EngineSession(EngineSetup setup) : setup_(std::move(setup)) {}

  // Starts the engine and waits for "uciok" (10 s), then sends the options
  // and waits for "readyok". False with a reason naming the engine.
  bool open(std::string& why);
  // The engine's "id name", empty when it sent none.
  const std::string& id_name() const { return id_name_; }
  const EngineSetup& setup() const { return setup_; }
  void set_name(const std::string& name) { setup_.name = name; }

  // One search of limit_ms on the position. After a crash or hang the
  // engine is restarted before this returns (check usable()).
  SearchOutcome search(const SuitePosition& position, long long limit_ms);
  bool usable() const { return process_.running(); }

 private:
  bool wait_for(const std::string& word, Clock::time_point deadline);

  EngineSetup setup_;
  EngineProcess process_;
  std::string id_name_;
};

}  // namespace tarvolin::solve
