// Time normalisation, match builder and error margins: every ordered pair of
// programs on every position, one time_score call per visit.
#include <cmath>
#include <vector>

#include "matches/match_rule.h"
#include "matches/time_score.h"
#include "rating/score_to_elo.h"
#include "reference/reference.h"

namespace tarvolin::reference {

double estimated_time(double t, double m) {
  double s = time_score(t, m);
  return std::pow(s / (1.0 - s), -1.0 / time_exponent()) * m;
}

namespace {

constexpr double SOLVED_FLOOR = 1.0;
constexpr double EMPTY_MEAN = -9999999.0;
// A failure whose limit the offset eats up stays a failure at the shortest
// limit there is.
constexpr double SHORTEST_LIMIT = -1.0;

void average_offsets(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.offset_sample_count[p] != 0)
      t.time_offset[p] = t.time_offset[p] / static_cast<double>(t.offset_sample_count[p]);
    else
      t.time_offset[p] = 0.0;
    if (!std::isfinite(t.time_offset[p])) t.time_offset[p] = 0.0;  // summed past the largest
  }
}

void correct_times(Tables& t) {
  for (int q = 1; q <= t.position_count; ++q) {
    double s1 = 0.0, s2 = 0.0;
    int32_t n1 = 0, n2 = 0;
    for (int p = 1; p <= t.program_count; ++p) {
      double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      if (is_solved(time)) {
        double corrected = time - t.time_offset[p];
        if (corrected < SOLVED_FLOOR) corrected = SOLVED_FLOOR;
        t.solve_time[p][q] = corrected;
        s1 += corrected;
        s2 += corrected;
        ++n1;
        ++n2;
      } else {
        double corrected = time + t.time_offset[p];
        if (corrected >= 0.0) corrected = SHORTEST_LIMIT;
        t.solve_time[p][q] = corrected;
        s2 += std::fabs(corrected);
        ++n2;
      }
    }
    t.pos_mst1[q] = n1 != 0 ? s1 / n1 : EMPTY_MEAN;
    t.pos_mst2[q] = n2 != 0 ? s2 / n2 : EMPTY_MEAN;
  }
}

// Among equal means the highest-numbered position is taken first.
void assign_difficulty_classes(Tables& t) {
  const int n = t.position_count;
  const int a = n / 3;
  const int b = (2 * n) / 3;
  std::vector<char> ranked_flag(static_cast<std::size_t>(n) + 1, 0);
  for (int k = 1; k <= n; ++k) {
    int choice = 0;
    for (int q = 1; q <= n; ++q) {
      if (ranked_flag[q]) continue;
      if (choice == 0 || t.pos_mst2[q] <= t.pos_mst2[choice]) choice = q;
    }
    t.difficulty_class[choice] = k < a ? 1 : (k < b ? 2 : 3);
    ranked_flag[choice] = 1;
  }
}

void fill_estimates(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    for (int q = 1; q <= t.position_count; ++q) {
      double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      if (is_solved(time) || !(t.pos_mst1[q] >= 0.0))
        t.est_time[p][q] = time;
      else
        t.est_time[p][q] = estimated_time(time, t.pos_mst1[q]);
    }
  }
}

void score_matches(Tables& t, int64_t& raw_invalid, int64_t& raw_complete) {
  for (int p = 1; p <= t.program_count; ++p) {
    for (int r = 1; r <= t.program_count; ++r) {
      if (r == p) continue;
      for (int q = 1; q <= t.position_count; ++q) {
        double a = t.solve_time[p][q], b = t.solve_time[r][q];
        if (!is_tested(a) || !is_tested(b)) continue;
        if (!forms_match(a, b)) {
          ++raw_invalid;
          continue;
        }
        if (is_solved(a) && is_solved(b)) ++raw_complete;
        double s = time_score(t.est_time[p][q], t.est_time[r][q]);
        int c = t.difficulty_class[q];
        t.match_total[p] += 1;
        t.pair_games[p][r] += 1;
        t.pair_score[p][r] += s;
        t.trend_count[p][c] += 1;
        t.trend_sum[p][c] += s;
        if (s > 0.5) t.match_wins[p] += 1;
        if (s < 0.5) t.match_losses[p] += 1;
        if (s == 0.5) t.match_draws[p] += 1;
      }
    }
  }
}

double mean_or_zero(double sum, int64_t count) {
  return count != 0 ? sum / static_cast<double>(count) : 0.0;
}

void compute_overall_means(Tables& t) {
  double solved_sum = 0.0, tested_sum = 0.0, estimate_sum = 0.0;
  int64_t solved_count = 0, tested_count = 0, estimate_count = 0;
  t.tested_position_count = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    bool position_tested = false;
    for (int p = 1; p <= t.program_count; ++p) {
      double x = t.solve_time[p][q];
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

constexpr double STDERR_MULTIPLIER = 2.0;

}  // namespace

void normalise_times(Tables& tables) {
  average_offsets(tables);
  correct_times(tables);
  assign_difficulty_classes(tables);
}

void build_matches(Tables& tables) {
  fill_estimates(tables);
  int64_t raw_invalid = 0, raw_complete = 0;
  score_matches(tables, raw_invalid, raw_complete);
  compute_overall_means(tables);

  int64_t total = 0;
  for (int p = 1; p <= tables.program_count; ++p) total += tables.match_total[p];
  tables.invalid_count = static_cast<int32_t>(raw_invalid / 2);
  tables.complete_count = static_cast<int32_t>(raw_complete / 2);
  tables.match_count = static_cast<int32_t>(total / 2);
}

void compute_error_margins(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.match_total[p] == 0) continue;
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
    const double n = t.match_total[p];
    double score_stderr = 0.0;
    if (t.match_total[p] > 1) score_stderr = std::sqrt(sum_of_squares / ((n - 1.0) * n));
    t.elo_margin[p] = score_to_elo(STDERR_MULTIPLIER * score_stderr + t.score_rate[p]) -
                      score_to_elo(t.score_rate[p]);
  }
}

}  // namespace tarvolin::reference
