#include "matches/overall_means.h"

#include <cmath>

#include "matches/match_layout.h"

namespace tarvolin::matching {

namespace {

double mean_or_zero(double sum, int64_t count) {
  return count != 0 ? sum / static_cast<double>(count) : 0.0;
}

}  // namespace

// Positions outer, programs inner, as the sums must run; the marks, when
// memory allowed them, skip the results never tested, which add nothing.
void compute_overall_means(Tables& t, const Layout& l) {
  double solved_sum = 0.0, tested_sum = 0.0, estimate_sum = 0.0;
  int64_t solved_count = 0, tested_count = 0, estimate_count = 0;
  t.tested_position_count = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    bool position_tested = false;
    const Word bit = Word{1} << (q % WORD_BITS);
    for (int p = 1; p <= t.program_count; ++p) {
      double x = t.solve_time[p][q];
      if (l.laid_out ? (l.tested[l.row(p) + q / WORD_BITS] & bit) == 0 : !is_tested(x)) continue;
      if (is_solved(x)) {
        solved_sum += x;
        ++solved_count;
      }
      if (is_tested(x)) {
        tested_sum += std::fabs(x);
        ++tested_count;
        if (!position_tested) ++t.tested_position_count;
        position_tested = true;
      }
      double y = t.est_time[p][q];
      if (y >= 0.0) {
        estimate_sum += y;
        ++estimate_count;
      }
    }
  }
  t.overall_mst1 = mean_or_zero(solved_sum, solved_count);
  t.overall_mst2 = mean_or_zero(tested_sum, tested_count);
  t.overall_imst = mean_or_zero(estimate_sum, estimate_count);
}

}  // namespace tarvolin::matching
