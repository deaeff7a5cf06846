#include <cmath>

#include "matches/match_walk.h"

namespace tarvolin::matching {

namespace {

// Two tested results meet unless both failed or the one solution took
// longer than the other's limit.
bool meet(double a, double b) {
  if (is_solved(a)) return is_solved(b) || !(a > std::fabs(b));
  return is_solved(b) && !(b > std::fabs(a));
}

}  // namespace

// Straight from the tables, opponents ascending and positions ascending
// within each: the walk for when no scratch could be had. It keeps no
// margin scores; plain_squares scores them again.
void walk_plain(Tables& t, int p, Worker& worker, ProgramTotals& sums) {
  const double* time_p = t.solve_time[p];
  const double* est_p = t.est_time[p];
  for (int r = 1; r <= t.program_count; ++r) {
    if (r == p) continue;
    const double* time_r = t.solve_time[r];
    const double* est_r = t.est_time[r];
    int32_t games = 0, faster = 0;
    double pair_sum = t.pair_score[p][r];
    for (int q = 1; q <= t.position_count; ++q) {
      const double a = time_p[q], b = time_r[q];
      if (!is_tested(a) || !is_tested(b)) continue;
      if (!meet(a, b)) {
        ++worker.raw_invalid;
        continue;
      }
      const bool complete = is_solved(a) && is_solved(b);
      worker.raw_complete += complete;
      double score, margin;
      scores(complete, a, est_p[q], b, est_r[q], score, margin);
      ++games;
      faster += std::fabs(a) < std::fabs(b);
      pair_sum += score;
      sums.count(score);
      const int c = t.difficulty_class[q];
      if (c < 0 || c > 3) continue;
      sums.class_count[c] += 1;
      sums.class_sum[c] += score;
    }
    sums.total += games;
    t.pair_games[p][r] += games;
    t.pair_score[p][r] = pair_sum;
    t.pair_faster[p][r] = static_cast<int16_t>(faster);
  }
}

double plain_squares(const Tables& t, int p, double rate) {
  const double* time_p = t.solve_time[p];
  double squares = 0.0;
  for (int r = 1; r <= t.program_count; ++r) {
    if (r == p) continue;
    const double* time_r = t.solve_time[r];
    for (int q = 1; q <= t.position_count; ++q) {
      const double a = time_p[q], b = time_r[q];
      if (!is_tested(a) || !is_tested(b) || !meet(a, b)) continue;
      const double margin = is_solved(a) && is_solved(b) ? solved_score(a, b) : time_score(a, b);
      const double deviation = margin - rate;
      squares += deviation * deviation;
    }
  }
  return squares;
}

}  // namespace tarvolin::matching
