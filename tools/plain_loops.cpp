#include "plain_loops.h"

#include <cmath>

#include "matches/time_score.h"
#include "rating/score_to_elo.h"

namespace tarvolin::plain {

namespace {

// A pair of tested results that cannot be scored: both failed, or the
// solver needed more than the other's limit.
bool invalid(double a, double b) {
  if (a < 0.0 && b < 0.0) return true;
  if (a < 0.0 && b > std::fabs(a)) return true;
  return a >= 0.0 && b < 0.0 && a > std::fabs(b);
}

double mean_or_zero(double sum, int count) { return count != 0 ? sum / count : 0.0; }

}  // namespace

void build_matches(Tables& t) {
  const int n = t.program_count, positions = t.position_count;
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= positions; ++q) {
      const double x = t.solve_time[p][q];
      if (!is_tested(x)) continue;
      if (x >= 0.0 || t.pos_mst1[q] < 0.0) {
        t.est_time[p][q] = x;
        continue;
      }
      const double m = t.pos_mst1[q], s = time_score(x, m);
      t.est_time[p][q] = m * std::pow(s / (1.0 - s), -1.0 / time_exponent());
    }

  long raw_invalid = 0, raw_complete = 0;
  for (int p = 1; p <= n; ++p)
    for (int r = 1; r <= n; ++r) {
      if (r == p) continue;
      for (int q = 1; q <= positions; ++q) {
        const double a = t.solve_time[p][q], b = t.solve_time[r][q];
        if (!is_tested(a) || !is_tested(b)) continue;
        if (invalid(a, b)) {
          ++raw_invalid;
          continue;
        }
        if (a >= 0.0 && b >= 0.0) ++raw_complete;
        const double s = time_score(t.est_time[p][q], t.est_time[r][q]);
        const int c = t.difficulty_class[q];
        ++t.match_total[p];
        ++t.pair_games[p][r];
        t.pair_score[p][r] += s;
        ++t.trend_count[p][c];
        t.trend_sum[p][c] += s;
        if (s > 0.5) ++t.match_wins[p];
        if (s < 0.5) ++t.match_losses[p];
        if (s == 0.5) ++t.match_draws[p];
        if (std::fabs(a) < std::fabs(b)) ++t.pair_faster[p][r];
      }
    }

  double solved_sum = 0.0, tested_sum = 0.0, estimate_sum = 0.0;
  int solved = 0, tested = 0, estimated = 0;
  t.tested_position_count = 0;
  for (int q = 1; q <= positions; ++q) {
    bool seen = false;
    for (int p = 1; p <= n; ++p) {
      const double x = t.solve_time[p][q], y = t.est_time[p][q];
      if (x >= 0.0) {
        solved_sum += x;
        ++solved;
      }
      if (is_tested(x)) {
        tested_sum += std::fabs(x);
        ++tested;
        if (!seen) ++t.tested_position_count;
        seen = true;
      }
      if (y >= 0.0) {
        estimate_sum += y;
        ++estimated;
      }
    }
  }
  t.overall_mst1 = mean_or_zero(solved_sum, solved);
  t.overall_mst2 = mean_or_zero(tested_sum, tested);
  t.overall_imst = mean_or_zero(estimate_sum, estimated);

  long total = 0;
  for (int p = 1; p <= n; ++p) total += t.match_total[p];
  t.invalid_count = static_cast<int32_t>(raw_invalid / 2);
  t.complete_count = static_cast<int32_t>(raw_complete / 2);
  t.match_count = static_cast<int32_t>(total / 2);
}

void compute_error_margins(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    const int32_t n = t.match_total[p];
    if (n == 0) continue;
    double squares = 0.0;
    for (int r = 1; r <= t.program_count; ++r) {
      if (r == p) continue;
      for (int q = 1; q <= t.position_count; ++q) {
        const double a = t.solve_time[p][q], b = t.solve_time[r][q];
        if (!is_tested(a) || !is_tested(b) || invalid(a, b)) continue;
        const double deviation = time_score(a, b) - t.score_rate[p];
        squares += deviation * deviation;
      }
    }
    const double stderr_of_mean =
        n > 1 ? std::sqrt(squares / (static_cast<double>(n - 1) * static_cast<double>(n))) : 0.0;
    t.elo_margin[p] =
        score_to_elo(2.0 * stderr_of_mean + t.score_rate[p]) - score_to_elo(t.score_rate[p]);
  }
}

std::vector<double> rank_indexes(const Tables& t) {
  std::vector<double> index(static_cast<std::size_t>(t.program_count) + 1, 0.0);
  for (int p = 1; p <= t.program_count; ++p) {
    int32_t comparisons = 0, hits = 0;
    for (int q = 1; q <= t.position_count; ++q) {
      const double x = t.solve_time[p][q];
      if (!is_tested(x)) continue;
      const double a = std::fabs(x);
      for (int r = 1; r <= t.program_count; ++r) {
        const double u = t.solve_time[r][q];
        if (u < 0.0 || (x < 0.0 && u > a)) continue;
        ++comparisons;
        if (a <= u) ++hits;
      }
    }
    if (comparisons != 0) index[p] = static_cast<double>(hits) / static_cast<double>(comparisons);
  }
  return index;
}

}  // namespace tarvolin::plain
