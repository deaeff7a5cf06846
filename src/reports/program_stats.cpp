#include "reports/program_stats.h"

#include <cmath>

namespace tarvolin {

ProgramTimeStats program_time_stats(const Tables& t, int32_t p) {
  ProgramTimeStats stats;
  for (int q = 1; q <= t.position_count; ++q) {
    double time = t.solve_time[p][q];
    if (is_tested(time)) {
      ++stats.tested_count;
      stats.tested_sum += std::fabs(time);
    }
    if (is_solved(time)) {
      ++stats.solved_count;
      stats.solved_sum += time;
    }
    double internal = t.est_time[p][q];
    if (internal >= 0.0) {
      ++stats.internal_count;
      stats.internal_sum += internal;
    }
  }
  return stats;
}

double printed_elo(const Tables& t, int32_t p) { return t.elo[p] - ELO_BASE + t.start_elo; }

double printed_av_op(const Tables& t, int32_t p) {
  return t.avg_opponent_elo[p] - ELO_BASE + t.start_elo - t.itoffset[t.cluster_id[p]];
}

}  // namespace tarvolin
