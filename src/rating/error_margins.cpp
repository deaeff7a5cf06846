#include "rating/error_margins.h"

#include <cmath>

#include "matches/match_rule.h"
#include "matches/time_score.h"
#include "rating/score_to_elo.h"

namespace tarvolin {

namespace {

constexpr double STDERR_MULTIPLIER = 2.0;

// Visits every pair again; only needed when the match builder has not left
// the sum for this very score fraction.
double sum_of_squares_afresh(const Tables& t, int p) {
  double sum_of_squares = 0.0;
  for (int r = 1; r <= t.program_count; ++r) {
    if (r == p) continue;
    for (int q = 1; q <= t.position_count; ++q) {
      double a = t.solve_time[p][q], b = t.solve_time[r][q];
      if (!forms_match(a, b)) continue;
      double deviation = time_score(a, b) - t.score_rate[p];
      sum_of_squares += deviation * deviation;
    }
  }
  return sum_of_squares;
}

}  // namespace

void compute_error_margins(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.match_total[p] == 0) continue;
    const double sum_of_squares =
        t.margin_rate[p] == t.score_rate[p] ? t.margin_squares[p] : sum_of_squares_afresh(t, p);
    const double n = t.match_total[p];
    double score_stderr = 0.0;
    if (t.match_total[p] > 1) score_stderr = std::sqrt(sum_of_squares / ((n - 1.0) * n));
    t.elo_margin[p] = score_to_elo(STDERR_MULTIPLIER * score_stderr + t.score_rate[p]) -
                      score_to_elo(t.score_rate[p]);
  }
}

}  // namespace tarvolin
