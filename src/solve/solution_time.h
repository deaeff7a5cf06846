// When did an engine find the solution? Decided from the principal
// variations it announced during one search.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin::solve {

struct PvReport {
  std::string first_move;
  std::optional<int> mate;           // moves to mate: > 0 the side to move mates, < 0 it is mated
  std::optional<long long> time_ms;  // the engine's own "time", when given
  double wall_ms = 0;                // since "go", when the line arrived
};

// The first PV of an "info" line (no multipv, or multipv 1); nullopt for
// every other line.
std::optional<PvReport> read_pv_line(std::string_view line, double wall_ms);

// The move of a "bestmove" line, or nullopt when the line is not one.
std::optional<std::string> read_bestmove(std::string_view line);

// Seconds until the solution, or nullopt when the search did not end on a
// correct move: the time of the earliest PV from which every later PV's
// first move and the best move are correct; the best move's own arrival when
// no PV qualifies.
std::optional<double> solution_seconds(const std::vector<PvReport>& pvs,
                                       const std::string& bestmove, double bestmove_wall_ms,
                                       const std::function<bool(std::string_view)>& correct);

}  // namespace tarvolin::solve
