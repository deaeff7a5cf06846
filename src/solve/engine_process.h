// One engine as a child process: its standard input and output are pipes,
// read line by line with deadlines so that a silent engine cannot stall us.
#pragma once

#include <chrono>
#include <string>
#include <vector>

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
  ~EngineProcess() { kill(); }

  // Starts argv[0] (looked up on PATH) with the rest as its arguments. False
  // with a reason when it cannot be run.
  bool start(const std::vector<std::string>& argv, std::string& why);
  bool running() const { return pid_ > 0; }

  // Sends one line; false when the engine is gone.
  bool send(const std::string& line);
  // Waits until the deadline for the next line (without its line end).
  Read read_line(std::string& line, Clock::time_point deadline);
  // Kills the process at once and collects it.
  void kill();

 private:
  int pid_ = -1;
  int to_engine_ = -1, from_engine_ = -1;
  std::string buffer_;
  bool eof_ = false;
};

}  // namespace tarvolin::solve
