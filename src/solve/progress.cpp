#include "solve/progress.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <numeric>

namespace tarvolin::solve {

std::string clock_text(double seconds) {
  long long s = static_cast<long long>(seconds + 0.5);
  char text[48];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  return text;
}

Progress::Progress(std::vector<std::string> engines, int positions, bool terminal, LiveSetup live)
    : total_(positions), terminal_(terminal), live_(std::move(live)) {
  for (std::string& name : engines) engines_.push_back({std::move(name), 0, 0, 0, 0, {}});
  start_ = last_print_ = std::chrono::steady_clock::now();
  workers_.resize(live_.workers);
  started_.resize(live_.workers);
  if (terminal_) start_live();
}

Progress::~Progress() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  if (ticker_.joinable()) ticker_.join();
}

void Progress::record(std::size_t engine, bool solved, double seconds) {
  std::lock_guard lock(mutex_);
  EngineTally& tally = engines_[engine];
  ++tally.tried;
  if (solved) ++tally.solved, tally.times.push_back(seconds);
}

void Progress::unrun(std::size_t engine) {
  std::lock_guard lock(mutex_);
  ++engines_[engine].failed;
}

void Progress::kept(std::size_t engine, int entries) {
  std::lock_guard lock(mutex_);
  engines_[engine].kept = entries;
}

void Progress::note(const std::string& line) {
  std::lock_guard lock(mutex_);
  notes_.push_back(line);
}

std::string Progress::line() const {
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::string text = std::to_string(done_) + "/" + std::to_string(total_) + " positions, solved:";
  for (const EngineTally& tally : engines_)
    text += " " + tally.name + " " + std::to_string(tally.solved);
  text += ", elapsed " + clock_text(elapsed);
  // From the positions done, which --hold makes shorter than the limit;
  // before the first, the most the limit allows.
  if (done_ > 0 && done_ < total_)
    text += ", left ~" + clock_text(elapsed / done_ * (total_ - done_));
  else if (done_ == 0 && terminal_ && live_.limit_s > 0)
    text += ", left at most " +
            clock_text(live_.limit_s * static_cast<double>(engines_.size()) * total_ /
                       static_cast<double>(std::max<std::size_t>(1, live_.workers)));
  return text;
}

void Progress::position_done() {
  std::lock_guard lock(mutex_);
  ++done_;
  auto now = std::chrono::steady_clock::now();
  if (!terminal_ && (now - last_print_ >= std::chrono::seconds(5) || done_ == total_)) {
    std::cerr << line() << "\n" << std::flush;
    last_print_ = now;
  }
}

void Progress::say(const std::string& message) {
  std::lock_guard lock(mutex_);
  bool live = drawn_ > 0;
  erase();
  std::cerr << "tarvolin-solve: " << message << "\n";
  if (live) draw();
  std::cerr << std::flush;
}

std::vector<EngineRow> Progress::rows() const {
  std::lock_guard lock(mutex_);
  std::vector<EngineRow> rows;
  for (const EngineTally& tally : engines_) {
    EngineRow row{tally.name, tally.solved, tally.tried, tally.failed, tally.kept, {}, {}};
    if (!tally.times.empty()) {
      std::vector<double> t = tally.times;
      std::sort(t.begin(), t.end());
      std::size_t n = t.size();
      row.mean = std::accumulate(t.begin(), t.end(), 0.0) / static_cast<double>(n);
      row.median = n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Progress::summary(std::ostream& out) {
  {
    std::lock_guard lock(mutex_);
    end_live();
  }
  wake_.notify_all();
  if (ticker_.joinable()) ticker_.join();
  std::size_t width = 6;
  for (const EngineTally& tally : engines_) width = std::max(width, tally.name.size());
  char row[160];
  std::snprintf(row, sizeof row, "%-*s  %9s  %7s  %9s  %9s  %7s  %s\n", static_cast<int>(width),
                "engine", "solved", "share", "mean", "median", "not run", "kept");
  out << row;
  for (const EngineRow& tally : rows()) {
    std::string solved = std::to_string(tally.solved) + "/" + std::to_string(tally.tried);
    std::string share = "-", mean = "-", median = "-";
    if (tally.tried > 0) {
      std::snprintf(row, sizeof row, "%.1f %%", 100.0 * tally.solved / tally.tried);
      share = row;
    }
    if (tally.mean && tally.median) {
      std::snprintf(row, sizeof row, "%.3fs", *tally.mean);
      mean = row;
      std::snprintf(row, sizeof row, "%.3fs", *tally.median);
      median = row;
    }
    out << tally.name << std::string(width - std::min(width, tally.name.size()), ' ');
    std::snprintf(row, sizeof row, "  %9s  %7s  %9s  %9s  %7d  %d\n", solved.c_str(), share.c_str(),
                  mean.c_str(), median.c_str(), tally.not_run, tally.kept);
    out << row;
  }
  for (const std::string& note : notes_) out << note << "\n";
}

}  // namespace tarvolin::solve
