// One engine as a child process: its standard input and output are pipes,
// read line by line with deadlines so that a silent engine cannot stall us.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/process.h"

namespace tarvolin::solve {

using Clock = std::chrono::steady_clock;

// Milliseconds since start, with their fractions: the time of a thinking line.
inline double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class EngineProcess {
 public:
  enum class Read { line, timeout, closed };

  EngineProcess() = default;
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  // Starts argv[0] (looked up on PATH; on Windows ".exe" may be left out)
  // with the rest as its arguments. False with a reason when it cannot be run.
  bool start(const std::vector<std::string>& argv, std::string& why);
  bool running() const { return child_.running(); }

  // Sends one line; false when the engine is gone.
  bool send(const std::string& line);
  // Waits until the deadline for the next line (without its line end).
  Read read_line(std::string& line, Clock::time_point deadline);
  // Kills the process at once and collects it.
  void kill() { child_.kill(); }

 private:
  platform::ChildProcess child_;
  std::string buffer_;
  bool eof_ = false;
};

}  // namespace tarvolin::solve
