// The live lines of Progress on a terminal: drawn by a ticker thread, and
// ended by the summary or by Ctrl-C.
#include <csignal>
#include <iostream>

#include "platform/terminal.h"
#include "solve/progress.h"

namespace tarvolin::solve {

namespace {

// Set while live lines are on the screen: Ctrl-C ends them and shows the
// cursor again, then stops the run as it always has.
volatile std::sig_atomic_t live_on_screen = 0;

void on_interrupt(int signal) {
  if (live_on_screen) {
    const char text[] = "\n\033[?25h";
    platform::write_error_now(text, sizeof text - 1);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void Progress::start_live() {
  std::signal(SIGINT, on_interrupt);
  ticker_ = std::thread(&Progress::tick, this);
}

void Progress::end_live() {
  if (drawn_ > 0) {
    erase();
    std::cerr << line() << "\n\033[?25h" << std::flush;
  }
  ending_ = true;
  live_on_screen = 0;
}

void Progress::tick() {
  std::unique_lock lock(mutex_);
  while (!ending_) {
    draw();
    wake_.wait_for(lock, std::chrono::seconds(1));
  }
}

void Progress::erase() {
  if (drawn_ == 0) return;
  std::cerr << "\r";
  if (drawn_ > 1) std::cerr << "\033[" << drawn_ - 1 << "A";
  std::cerr << "\033[J";
  drawn_ = 0;
}

void Progress::draw() {
  if (!terminal_ || ending_) return;
  auto now = std::chrono::steady_clock::now();
  LiveSnapshot snapshot{total_, live_.limit_text, workers_, line()};
  for (std::size_t k = 0; k < workers_.size(); ++k)
    snapshot.workers[k].elapsed_s = std::chrono::duration<double>(now - started_[k]).count();
  std::vector<std::string> lines = live_lines(snapshot, platform::error_terminal_width());
  erase();
  std::cerr << "\033[?25l";
  for (std::size_t k = 0; k < lines.size(); ++k) std::cerr << (k ? "\n" : "") << lines[k];
  std::cerr << std::flush;
  drawn_ = lines.size();
  live_on_screen = 1;
}

void Progress::searching(std::size_t worker, int task, const std::string& label,
                         std::size_t engine) {
  std::lock_guard lock(mutex_);
  if (worker >= workers_.size()) return;
  workers_[worker] = {true, task, label, engines_[engine].name, 0, {}, {}, false};
  started_[worker] = std::chrono::steady_clock::now();
}

void Progress::idle(std::size_t worker) {
  std::lock_guard lock(mutex_);
  if (worker < workers_.size()) workers_[worker] = WorkerLive{};
}

void Progress::pv(std::size_t worker, std::optional<int> depth, const std::string& move,
                  bool right) {
  std::lock_guard lock(mutex_);
  if (worker >= workers_.size()) return;
  WorkerLive& live = workers_[worker];
  live.depth = depth ? depth : live.depth;
  live.move = move;
  live.right = right;
}

}  // namespace tarvolin::solve
