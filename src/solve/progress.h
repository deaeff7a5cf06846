// What the user sees while the engines think (on a terminal, a live line per
// worker and one for the run; otherwise a line now and then on stderr) and
// afterwards (a table per engine on stdout). Workers call it from their
// threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "solve/live_lines.h"
#include "solve/search_follow.h"
#include "solve/summary_json.h"

namespace tarvolin::solve {

struct LiveSetup {
  std::size_t workers = 1;
  std::string limit_text;
  double limit_s = 0;
};

class Progress {
 public:
  // terminal: whether stderr is one, so that the lines are redrawn live.
  Progress(std::vector<std::string> engines, int positions, bool terminal,
           LiveSetup live = LiveSetup());
  ~Progress();

  // One engine's result on a position: solved (with its time) or not.
  void record(std::size_t engine, bool solved, double seconds);
  void unrun(std::size_t engine);
  // Entries of the engine that the run keeps from the file.
  void kept(std::size_t engine, int entries);
  // A line for after the table.
  void note(const std::string& line);
  // A position is finished: the run's line shows it (live), or is printed
  // when the last one is 5 s old.
  void position_done();
  // A worker starts the engine on its task-th task (1-based), or is idle.
  void searching(std::size_t worker, int task, const std::string& label, std::size_t engine);
  void idle(std::size_t worker);
  // The running search's PV.
  void pv(std::size_t worker, std::optional<int> depth, const std::string& move, bool right);
  // A warning, or an error, on a line of its own.
  void warn(const std::string& message) { say("warning: " + message); }
  void say(const std::string& message);
  // Ends the live lines and prints the table, then the notes.
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
  void draw();   // with mutex_ held
  void erase();  // with mutex_ held
  void tick();
  void start_live();
  void end_live();  // with mutex_ held

  mutable std::mutex mutex_;
  std::vector<EngineTally> engines_;
  std::vector<std::string> notes_;
  int total_, done_ = 0;
  bool terminal_;
  LiveSetup live_;
  std::vector<WorkerLive> workers_;
  std::vector<std::chrono::steady_clock::time_point> started_;
  std::size_t drawn_ = 0;  // live lines on the screen
  bool ending_ = false;
  std::condition_variable wake_;
  std::thread ticker_;
  std::chrono::steady_clock::time_point start_, last_print_;
};

// Tells the Progress what one worker's searches show.
class WorkerWatch : public SearchWatch {
 public:
  WorkerWatch(Progress& progress, std::size_t worker) : progress_(progress), worker_(worker) {}
  void pv(std::optional<int> depth, const std::string& move, bool right) override {
    progress_.pv(worker_, depth, move, right);
  }

 private:
  Progress& progress_;
  std::size_t worker_;
};

// "1:05:03", "4:07", for elapsed and remaining times.
std::string clock_text(double seconds);

}  // namespace tarvolin::solve
