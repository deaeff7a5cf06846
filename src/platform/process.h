// A child process that we talk to through its standard input and output.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace tarvolin::platform {

class ChildProcess {
 public:
  enum class Read { data, timeout, end };

  ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Kills the child if it still runs.
  ~ChildProcess();

  // Starts argv[0], found as the system's shell would find it, with the rest
  // as its arguments; its standard error is ours. False with the system's
  // reason when it cannot be run. Safe to call from several threads at once:
  // no child inherits another one's pipes.
  bool start(const std::vector<std::string>& argv, std::string& why);
  // Started and not killed since (it may have ended by itself).
  bool running() const;
  // Writes all of data to the child's input; false once the child is gone.
  bool write(const std::string& data);
  // Appends to into what the child wrote, waiting at most wait for it; end
  // once the child's output is closed.
  Read read(std::string& into, std::chrono::milliseconds wait);
  // Kills the child at once and waits until it is gone.
  void kill();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvolin::platform
