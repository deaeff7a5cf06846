#include "solve/engine_session.h"

#include <chrono>

#include "solve/solution_time.h"

namespace tarvolin::solve {

namespace {

constexpr auto HANDSHAKE = std::chrono::seconds(10);
constexpr auto GRACE = std::chrono::seconds(1);

std::string describe(const EngineSetup& setup) {
  return "engine '" + (setup.name.empty() ? setup.command : setup.name) + "'";
}

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

bool EngineSession::wait_for(const std::string& word, Clock::time_point deadline) {
  std::string line;
  while (process_.read_line(line, deadline) == EngineProcess::Read::line) {
    if (line.rfind("id name ", 0) == 0) id_name_ = line.substr(8);
    if (line == word || line.rfind(word + " ", 0) == 0) return true;
  }
  return false;
}

bool EngineSession::open(std::string& why) {
  std::string reason;
  if (!process_.start(setup_.argv(), reason))
    return why = describe(setup_) + " (" + setup_.command + ") cannot be started: " + reason, false;
  if (!process_.send("uci") || !wait_for("uciok", Clock::now() + HANDSHAKE)) {
    process_.kill();
    return why = describe(setup_) + " (" + setup_.command + ") did not answer uci with uciok",
           false;
  }
  for (const auto& [name, value] : setup_.options)
    process_.send("setoption name " + name + " value " + value);
  if (!process_.send("isready") || !wait_for("readyok", Clock::now() + HANDSHAKE)) {
    process_.kill();
    return why = describe(setup_) + " did not answer isready with readyok", false;
  }
  return true;
}

SearchOutcome EngineSession::search(const SuitePosition& position, long long limit_ms) {
  SearchOutcome outcome;
  Clock::time_point start = Clock::now();
  std::vector<PvReport> pvs;
  std::optional<std::string> bestmove;
  bool closed = false;
  bool ready = process_.send("ucinewgame") && process_.send("position fen " + position.fen) &&
               process_.send("isready") && wait_for("readyok", Clock::now() + HANDSHAKE);
  if (ready && process_.send("go movetime " + std::to_string(limit_ms))) {
    start = Clock::now();
    Clock::time_point deadline = start + std::chrono::milliseconds(limit_ms) + GRACE;
    bool stopped = false;
    std::string line;
    while (!bestmove) {
      EngineProcess::Read got = process_.read_line(line, deadline);
      if (got == EngineProcess::Read::closed) {
        closed = true;
        break;
      }
      if (got == EngineProcess::Read::timeout) {
        if (stopped) break;
        stopped = true;  // past limit and grace: "stop", then one more grace
        process_.send("stop");
        deadline = Clock::now() + GRACE;
        continue;
      }
      if (std::optional<PvReport> pv = read_pv_line(line, ms_since(start))) pvs.push_back(*pv);
      bestmove = read_bestmove(line);
    }
    if (stopped) bestmove.reset();  // a move forced out by "stop" is no answer in time
  } else {
    closed = true;
  }
  if (bestmove) {
    auto correct = [&](std::string_view move) { return position.is_correct(move); };
    std::optional<double> seconds = solution_seconds(pvs, *bestmove, ms_since(start), correct);
    outcome.kind = seconds ? SearchOutcome::solved : SearchOutcome::unsolved;
    outcome.seconds = seconds.value_or(0);
    return outcome;
  }
  outcome.kind = closed ? SearchOutcome::crashed : SearchOutcome::hung;
  process_.kill();
  open(outcome.restart_failure);  // a fresh engine for the next position
  return outcome;
}

}  // namespace tarvolin::solve
