// The xboard (CECP) conversation with one engine: the feature hand-shake,
// options, and one timed search per position, with the limits that keep a
// misbehaving engine from stalling the run.
#pragma once

#include <set>
#include <string>

#include "solve/engine.h"
#include "solve/engine_process.h"

namespace tarvolin::solve {

class XboardSession : public Engine {
 public:
  explicit XboardSession(EngineSetup setup) : setup_(std::move(setup)) {}

  // Sends "xboard" and "protover 2" and reads the features until "done=1"
  // (2 s when the engine sends no "done=0"; 10 s after one; an engine with
  // no features at all is taken as protocol version 1), then the options,
  // then "ping" and waits 10 s for its "pong" where the engine has ping.
  bool open(std::string& why) override;
  const std::string& id_name() const override { return id_name_; }
  const EngineSetup& setup() const override { return setup_; }
  void set_name(const std::string& name) override { setup_.name = name; }

  SearchOutcome search(const SuitePosition& position, long long limit_ms) override;
  bool usable() const override { return process_.running(); }
  // The engine offered the variant fischerandom and can be given a FEN.
  bool plays_chess960() const override { return fischerandom_ && setboard_; }

 private:
  // Answers each feature with accepted or rejected; true once "done=1" came.
  bool take_features(const std::string& line, bool& extended);
  // Sends the user's options as the engine offered them; false with a reason.
  bool send_options(std::string& why);
  // The position as "setboard", or as the "edit" commands where the engine
  // has no setboard.
  void send_position(const SuitePosition& position);
  // Sends "ping N" and waits for "pong N"; line when it came.
  EngineProcess::Read sync(Clock::time_point deadline);
  std::string no_answer(EngineProcess::Read got, const std::string& command,
                        const std::string& word);

  EngineSetup setup_;
  EngineProcess process_;
  std::string id_name_;
  // What the engine offered; the defaults are those of protocol version 1.
  bool setboard_ = false, ping_ = false, memory_ = false, smp_ = false, fischerandom_ = false;
  bool usermove_ = false, san_ = false;
  std::set<std::string> options_;
  int pings_ = 0;
};

}  // namespace tarvolin::solve
