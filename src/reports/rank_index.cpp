#include "reports/rank_index.h"

#include <cmath>

namespace tarvolin {

double rank_index(const Tables& t, int32_t p) {
  if (t.position_count < 1) return 0.0;
  int32_t comparisons = 0, hits = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    double time = t.solve_time[p][q];
    if (!is_tested(time)) continue;
    double a = std::fabs(time);
    bool failed = time < 0.0;
    for (int r = 1; r <= t.program_count; ++r) {
      double u = t.solve_time[r][q];
      if (u < 0.0) continue;
      if (failed && u > a) continue;
      ++comparisons;
      if (a <= u) ++hits;
    }
  }
  return comparisons != 0 ? static_cast<double>(hits) / static_cast<double>(comparisons) : 0.0;
}

}  // namespace tarvolin
