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
  std::optional<int> depth = {};     // plies, when given
};

// The first PV of an "info" line (no multipv, or multipv 1); nullopt for
// every other line.
std::optional<PvReport> read_pv_line(std::string_view line, double wall_ms);

// The move of a "bestmove" line, or nullopt when the line is not one.
std::optional<std::string> read_bestmove(std::string_view line);

// Seconds until the solution, or nullopt when the search did not end on a
// correct move: the time of the earliest PV from which every later PV's
// first move and the best move are correct; the best move's own arrival when
// no PV qualifies. With mate_in N > 0 every PV of that run must also score a
// mate for the side to move in at most N moves, and a search without such a
// run is unsolved, whatever its move.
std::optional<double> solution_seconds(const std::vector<PvReport>& pvs,
                                       const std::string& bestmove, double bestmove_wall_ms,
                                       const std::function<bool(std::string_view)>& correct,
                                       int mate_in = 0);

// Whether a search may be stopped early: its last PVs form the run that
// solution_seconds would count, and that run has lasted hold_ms of the
// engine's own time by now_ms (wall time since "go"). The engine's time now
// is that of its last timed PV plus the wall time since that PV came, or
// the wall time when it gives none.
bool settled(const std::vector<PvReport>& pvs, double now_ms, double hold_ms,
             const std::function<bool(std::string_view)>& correct, int mate_in = 0);

}  // namespace tarvolin::solve
