#include "rating/error_margins.h"

#include <cmath>

#include "rating/score_to_elo.h"

namespace tarvolin {

namespace {

constexpr double STDERR_MULTIPLIER = 2.0;

}  // namespace

void compute_error_margins(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.match_total[p] == 0) continue;
    // The builder formed margin_squares around margin_rate[p], which it
    // computes as find_clusters computes score_rate[p]: pair_score[p][1..n]
    // summed in that order, divided by match_total[p], from tables nothing
    // changes in between. The two are the same bits, so the sum is the one
    // for score_rate.
    const double sum_of_squares = t.margin_squares[p];
    const double n = t.match_total[p];
    double score_stderr = 0.0;
    if (t.match_total[p] > 1) score_stderr = std::sqrt(sum_of_squares / ((n - 1.0) * n));
    t.elo_margin[p] = score_to_elo(STDERR_MULTIPLIER * score_stderr + t.score_rate[p]) -
                      score_to_elo(t.score_rate[p]);
  }
}

}  // namespace tarvolin
