// The UCI conversation with one engine: hand-shake, options, and one search
// per position, with the limits that keep a misbehaving engine from stalling
// the run.
#pragma once

#include <string>

#include "solve/engine.h"
#include "solve/engine_process.h"
#include "solve/engine_setup.h"
#include "solve/epd_suite.h"

namespace tarvolin::solve {

class EngineSession : public Engine {
 public:
  explicit EngineSession(EngineSetup setup) : setup_(std::move(setup)) {}

  // Starts the engine and waits for "uciok" (10 s), then sends the options
  // and waits for "readyok". False with a reason naming the engine and
  // saying whether it hung or crashed.
  bool open(std::string& why) override;
  // The engine's "id name", empty when it sent none.
  const std::string& id_name() const override { return id_name_; }
  // Whether the engine offered the check option UCI_Chess960 in its last
  // hand-shake: only then can it be given a Chess960 position.
  bool plays_chess960() const override { return offers_chess960_; }
  const EngineSetup& setup() const override { return setup_; }
  void set_name(const std::string& name) override { setup_.name = name; }

  // One search of limit_ms on the position, UCI_Chess960 set first where
  // the engine offers it and the position needs another value. After a crash
  // or hang the engine is stopped; open() starts it again.
  SearchOutcome search(const SuitePosition& position, long long limit_ms) override;
  bool usable() const override { return process_.running(); }

 private:
  // line: the word came; timeout or closed otherwise.
  EngineProcess::Read wait_for(const std::string& word, Clock::time_point deadline);
  // The answer to command did not come: the reason, with the engine stopped.
  std::string no_answer(EngineProcess::Read got, const std::string& command,
                        const std::string& word);

  EngineSetup setup_;
  EngineProcess process_;
  std::string id_name_;
  bool offers_chess960_ = false;
  bool chess960_on_ = false;  // the value the engine now has
};

}  // namespace tarvolin::solve
