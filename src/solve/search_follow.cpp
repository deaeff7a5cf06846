#include "solve/search_follow.h"

#include <algorithm>
#include <chrono>

namespace tarvolin::solve {

namespace {

// How often a held answer is looked at while the engine says nothing.
constexpr auto POLL = std::chrono::milliseconds(50);

}  // namespace

SearchFollow::SearchFollow(const SuitePosition& position, double hold_ms, SearchWatch* watch)
    : position_(position), hold_ms_(hold_ms), watch_(watch) {}

bool SearchFollow::add(const std::optional<PvReport>& pv) {
  if (!pv) return false;
  pvs_.push_back(*pv);
  if (watch_) watch_->pv(pv->depth, pv->first_move, correct(pv->first_move));
  return settled_now();
}

bool SearchFollow::settled_now() const {
  if (hold_ms_ <= 0 || held()) return false;
  auto right = [this](std::string_view move) { return correct(move); };
  return settled(pvs_, ms(), hold_ms_, right, position_.mate_in);
}

Clock::time_point SearchFollow::wake(Clock::time_point deadline) const {
  if (hold_ms_ <= 0 || held()) return deadline;
  return std::min(deadline, Clock::now() + POLL);
}

std::optional<double> SearchFollow::seconds(const std::string& final_move, double final_ms) const {
  auto right = [this](std::string_view move) { return correct(move); };
  if (held() && final_move == pvs_[held_lines_ - 1].first_move) {
    std::vector<PvReport> seen(pvs_.begin(), pvs_.begin() + static_cast<long>(held_lines_));
    return solution_seconds(seen, final_move, final_ms, right, position_.mate_in);
  }
  return solution_seconds(pvs_, final_move, final_ms, right, position_.mate_in);
}

}  // namespace tarvolin::solve
