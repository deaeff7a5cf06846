// What the user sees while the engines think (a progress line on stderr)
// and afterwards (a table per engine on stdout).
#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "solve/summary_json.h"

namespace tarvolin::solve {

class Progress {
 public:
  Progress(std::vector<std::string> engines, int positions);

  // One engine's result on a position: solved (with its time) or not.
  void record(std::size_t engine, bool solved, double seconds);
  void unrun(std::size_t engine) { ++engines_[engine].failed; }
  // Entries of the engine that the run keeps from the file.
  void kept(std::size_t engine, int entries) { engines_[engine].kept = entries; }
  // A line for after the table.
  void note(const std::string& line) { notes_.push_back(line); }
  // A position is finished: redraws the line (on a terminal) or prints it
  // when the last one is 5 s old.
  void position_done();
  // A warning, or an error, on a line of its own.
  void warn(const std::string& message) { say("warning: " + message); }
  void say(const std::string& message);
  // Ends the progress line and prints the table, then the notes.
  void summary(std::ostream& out);
  // The table's rows.
  std::vector<EngineRow> rows() const;

 private:
  struct EngineTally {
    std::string name;
    int solved = 0, tried = 0, failed = 0, kept = 0;
    std::vector<double> times;
  };
  std::string line() const;

  std::vector<EngineTally> engines_;
  std::vector<std::string> notes_;
  int total_, done_ = 0;
  bool terminal_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_, last_print_;
};

// "1:05:03", "4:07", for elapsed and remaining times.
std::string clock_text(double seconds);

}  // namespace tarvolin::solve
