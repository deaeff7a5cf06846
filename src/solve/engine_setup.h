// How to run one engine, from the words after --engine.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarvolin::solve {

struct EngineSetup {
  enum class Protocol { uci, xboard };
  Protocol protocol = Protocol::uci;
  std::string command;
  std::vector<std::string> args;
  std::string name;  // empty until given or read from the engine's "id name"
  std::vector<std::pair<std::string, std::string>> options;

  std::vector<std::string> argv() const;
};

// proto=uci|xboard, cmd=PATH, name=NAME, arg=ARG (repeated),
// option.NAME=VALUE. False with a reason for any other word or a missing cmd=.
bool parse_engine_setup(const std::vector<std::string>& words, EngineSetup& setup,
                        std::string& why);

// The name as the result file's reader keys it: blanks and line ends dropped.
std::string name_key(const std::string& name);

// Whether a result file can hold the name: no comma, single quote or '}',
// not empty, and short enough that its time still fits the entry.
bool check_engine_name(const std::string& name, std::size_t time_width, std::string& why);

}  // namespace tarvolin::solve
