#include "solve/xboard_session.h"

#include <chrono>

#include "solve/xboard_lines.h"

namespace tarvolin::solve {

namespace {

// How long an engine has to send its first feature: the protocol's own
// time-out, after which it is taken as protocol version 1.
constexpr auto FEATURE_WAIT = std::chrono::seconds(2);

// The features whose use is ours to honour or that ask nothing of us: no
// signals are sent, clocks are set by "st", and "move now" is "?".
bool known(const std::string& name) {
  static const std::set<std::string> names = {
      "done",  "myname",   "setboard", "ping",   "memory",    "smp", "variants", "option",
      "san",   "usermove", "analyze",  "colors", "draw",      "ics", "name",     "pause",
      "reuse", "sigint",   "sigterm",  "time",   "playother", "nps", "debug",    "highlight"};
  return names.count(name) > 0;
}

}  // namespace

std::string XboardSession::no_answer(EngineProcess::Read got, const std::string& command,
                                     const std::string& word) {
  process_.kill();
  return no_answer_reason(setup_, got, command, word);
}

bool XboardSession::take_features(const std::string& line, bool& extended) {
  bool done = false;
  for (const Feature& feature : read_features(line)) {
    const std::string& name = feature.name;
    bool on = feature.value == "1";
    if (name == "done") {
      done = on;
      extended = extended || feature.value == "0";
    } else if (name == "myname") {
      id_name_ = feature.value;
    } else if (name == "setboard") {
      setboard_ = on;
    } else if (name == "ping") {
      ping_ = on;
    } else if (name == "memory") {
      memory_ = on;
    } else if (name == "smp") {
      smp_ = on;
    } else if (name == "usermove") {
      usermove_ = on;
    } else if (name == "san") {
      san_ = on;
    } else if (name == "variants") {
      fischerandom_ = ("," + feature.value + ",").find(",fischerandom,") != std::string::npos;
    } else if (name == "option") {
      // "NAME -type ...": the name is all before the type.
      options_.insert(feature.value.substr(0, feature.value.find(" -")));
    }
    process_.send((known(name) ? "accepted " : "rejected ") + name);
  }
  return done;
}

bool XboardSession::open(std::string& why) {
  std::string reason;
  if (!process_.start(setup_.argv(), reason))
    return why = engine_label(setup_) + " (" + setup_.command + ") cannot be started: " + reason,
           false;
  setboard_ = ping_ = memory_ = smp_ = fischerandom_ = usermove_ = san_ = false;
  options_.clear();
  EngineProcess::Read got = EngineProcess::Read::closed;
  if (process_.send("xboard") && process_.send("protover 2")) {
    Clock::time_point deadline = Clock::now() + FEATURE_WAIT;
    bool extended = false, done = false;
    std::string line;
    while (!done && (got = process_.read_line(line, deadline)) == EngineProcess::Read::line) {
      bool was_extended = extended;
      done = take_features(line, extended);
      // "done=0": the engine needs longer to start, so the wait is that of
      // a hand-shake from now.
      if (extended && !was_extended) deadline = Clock::now() + HANDSHAKE;
    }
    // Silence within the protocol's time-out is an older engine's answer.
    if (got == EngineProcess::Read::timeout && !extended) got = EngineProcess::Read::line;
  }
  if (got != EngineProcess::Read::line)
    return why = no_answer(got, "protover 2", "feature done=1"), false;
  if (!send_options(why)) return process_.kill(), false;
  if ((got = sync(Clock::now() + HANDSHAKE)) != EngineProcess::Read::line)
    return why = no_answer(got, "ping", "pong"), false;
  return true;
}

bool XboardSession::send_options(std::string& why) {
  for (const auto& [name, value] : setup_.options) {
    std::string command;
    if (name == "memory" && memory_)
      command = "memory " + value;
    else if (name == "cores" && smp_)
      command = "cores " + value;
    else if (options_.count(name) > 0)
      command = "option " + name + "=" + value;
    else
      return why = engine_label(setup_) + " offers no option '" + name + "'", false;
    process_.send(command);
  }
  return true;
}

EngineProcess::Read XboardSession::sync(Clock::time_point deadline) {
  if (!ping_) return process_.running() ? EngineProcess::Read::line : EngineProcess::Read::closed;
  std::string pong = "pong " + std::to_string(++pings_), line;
  if (!process_.send("ping " + std::to_string(pings_))) return EngineProcess::Read::closed;
  EngineProcess::Read got;
  while ((got = process_.read_line(line, deadline)) == EngineProcess::Read::line)
    if (line == pong) return got;
  return got;
}

}  // namespace tarvolin::solve
