#include "solve/engine_session.h"

#include <chrono>

#include "solve/solution_time.h"

namespace tarvolin::solve {

EngineProcess::Read EngineSession::wait_for(const std::string& word, Clock::time_point deadline) {
  std::string line;
  EngineProcess::Read got;
  while ((got = process_.read_line(line, deadline)) == EngineProcess::Read::line) {
    if (line.rfind("id name ", 0) == 0) id_name_ = line.substr(8);
    if (line.rfind("option name UCI_Chess960 type check", 0) == 0) offers_chess960_ = true;
    if (line == word || line.rfind(word + " ", 0) == 0) return got;
  }
  return got;
}

std::string EngineSession::no_answer(EngineProcess::Read got, const std::string& command,
                                     const std::string& word) {
  process_.kill();
  return no_answer_reason(setup_, got, command, word);
}

bool EngineSession::open(std::string& why) {
  std::string reason;
  if (!process_.start(setup_.argv(), reason))
    return why = engine_label(setup_) + " (" + setup_.command + ") cannot be started: " + reason,
           false;
  offers_chess960_ = false;
  // A fresh engine starts from the option's default, false, unless the
  // options given for it say otherwise.
  chess960_on_ = false;
  for (const auto& [name, value] : setup_.options)
    if (name == "UCI_Chess960") chess960_on_ = value == "true";
  EngineProcess::Read got = EngineProcess::Read::closed;
  if (!process_.send("uci") ||
      (got = wait_for("uciok", Clock::now() + HANDSHAKE)) != EngineProcess::Read::line)
    return why = no_answer(got, "uci", "uciok"), false;
  for (const auto& [name, value] : setup_.options)
    process_.send("setoption name " + name + " value " + value);
  got = EngineProcess::Read::closed;
  if (!process_.send("isready") ||
      (got = wait_for("readyok", Clock::now() + HANDSHAKE)) != EngineProcess::Read::line)
    return why = no_answer(got, "isready", "readyok"), false;
  return true;
}

SearchOutcome EngineSession::search(const SuitePosition& position, long long limit_ms) {
  SearchOutcome outcome;
  SearchFollow follow(position, hold_ms_, watch_);
  std::optional<std::string> bestmove;
  // What ended the wait for an answer: the engine's end, or the deadline
  // passing while it waited for outcome.waited_for.
  EngineProcess::Read got = EngineProcess::Read::closed;
  outcome.waited_for = "readyok";
  if (offers_chess960_ && position.chess960 != chess960_on_) {
    chess960_on_ = position.chess960;
    process_.send(std::string("setoption name UCI_Chess960 value ") +
                  (chess960_on_ ? "true" : "false"));
  }
  if (process_.send("ucinewgame") && process_.send("position fen " + position.fen) &&
      process_.send("isready") &&
      (got = wait_for("readyok", Clock::now() + HANDSHAKE)) == EngineProcess::Read::line) {
    got = EngineProcess::Read::closed;
    outcome.waited_for = "bestmove";
    if (process_.send("go movetime " + std::to_string(limit_ms))) {
      follow.start();
      Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms) + GRACE;
      bool stopped = false;
      std::string line;
      while (!bestmove) {
        Clock::time_point wake = follow.wake(deadline);
        got = process_.read_line(line, wake);
        if (got == EngineProcess::Read::closed) break;
        bool settled = got == EngineProcess::Read::line
                           ? follow.add(read_pv_line(line, follow.ms()))
                           : wake < deadline && follow.settled_now();
        if (settled) {
          // The answer has held long enough: its time is known, the rest
          // of the limit would only confirm it. One grace for the move.
          follow.stopped();
          process_.send("stop");
          deadline = Clock::now() + GRACE;
        }
        if (got == EngineProcess::Read::timeout) {
          if (wake < deadline) continue;
          if (stopped || follow.held()) break;
          stopped = true;  // past limit and grace: "stop", then one more grace
          process_.send("stop");
          deadline = Clock::now() + GRACE;
          continue;
        }
        bestmove = read_bestmove(line);
      }
      // A move forced out by "stop" is no answer in time.
      if (stopped && bestmove) bestmove.reset(), got = EngineProcess::Read::timeout;
    }
  }
  if (bestmove) {
    std::optional<double> seconds = follow.seconds(*bestmove, follow.ms());
    outcome.kind = seconds ? SearchOutcome::solved : SearchOutcome::unsolved;
    outcome.seconds = seconds.value_or(0);
    outcome.waited_for.clear();
    return outcome;
  }
  outcome.kind = got == EngineProcess::Read::closed ? SearchOutcome::crashed : SearchOutcome::hung;
  process_.kill();
  return outcome;
}

}  // namespace tarvolin::solve
