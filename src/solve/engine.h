// What the runner needs of an engine, whatever protocol it speaks: start
// it, name it, and give it one position at a time.
#pragma once

#include <memory>
#include <string>

#include "solve/engine_process.h"
#include "solve/engine_setup.h"
#include "solve/epd_suite.h"
#include "solve/search_follow.h"

namespace tarvolin::solve {

struct SearchOutcome {
  // not_started: the engine could not be started for the position;
  // not_run: it was given up before the position.
  enum Kind { solved, unsolved, crashed, hung, not_started, not_run } kind = unsolved;
  double seconds = 0;      // for solved
  std::string waited_for;  // for hung: the answer that did not come in time
  std::string failure;     // for not_started, or a failed restart after crashed and hung
  std::string warning;     // for unsolved: what the engine did wrong, such as an illegal move
};

class Engine {
 public:
  virtual ~Engine() = default;

  // Starts the engine and completes its hand-shake and options. False with
  // a reason naming the engine and saying whether it hung or crashed.
  virtual bool open(std::string& why) = 0;
  // The name the engine gave itself, empty when it gave none.
  virtual const std::string& id_name() const = 0;
  virtual const EngineSetup& setup() const = 0;
  virtual void set_name(const std::string& name) = 0;

  // One search of limit_ms on the position. After a crash or hang the
  // engine is stopped; open() starts it again.
  virtual SearchOutcome search(const SuitePosition& position, long long limit_ms) = 0;
  virtual bool usable() const = 0;
  // Whether positions with Chess960 castling can be given to it.
  virtual bool plays_chess960() const { return false; }

  // Searches stop once a right answer has held for hold_ms (0: never).
  void set_hold(double hold_ms) { hold_ms_ = hold_ms; }
  // Told each PV of the running search; null for none.
  void set_watch(SearchWatch* watch) { watch_ = watch; }

 protected:
  double hold_ms_ = 0;
  SearchWatch* watch_ = nullptr;
};

// How long an engine may take over its hand-shake and each answer that
// needs no search; and how long past the limit a search may take to end.
constexpr auto HANDSHAKE = std::chrono::seconds(10);
constexpr auto GRACE = std::chrono::seconds(1);

// "engine 'NAME'", or its command while it has no name yet.
std::string engine_label(const EngineSetup& setup);
// Why the engine gave no word in answer to command, for either protocol:
// it crashed (its output ended) or hung (the hand-shake's time passed).
std::string no_answer_reason(const EngineSetup& setup, EngineProcess::Read got,
                             const std::string& command, const std::string& word);

// The session for the setup's protocol, not yet started.
std::unique_ptr<Engine> make_engine(const EngineSetup& setup);

}  // namespace tarvolin::solve
