#include <cmath>

#include "matches/match_walk.h"

namespace tarvolin::matching {

// Sparse tables: p's matches gathered and scored position by position from
// the lists of tested results, then put in opponent order, positions
// ascending within each opponent, by a counting sort. A run of equal times
// in a list is scored once.
void walk_lists(Tables& t, const Layout& l, int p, Worker& worker, ProgramTotals& sums) {
  const double* time_p = t.solve_time[p];
  const double* est_p = t.est_time[p];
  std::vector<Meeting>& met = worker.met;
  std::vector<int32_t>& start = worker.opponent_start;
  met.clear();
  start.assign(static_cast<std::size_t>(l.n) + 2, 0);

  for (int w = 0; w < l.words; ++w) {
    for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1) {
      const int q = w * WORD_BITS + lowest_bit(bits);
      const double a = time_p[q], ea = est_p[q];
      const Layout::Listed* first = &l.entries[l.listed[q]];
      const Layout::Listed* failures = &l.entries[l.failures_from[q]];
      const Layout::Listed* last = &l.entries[l.listed[q + 1]];
      const Layout::Listed *from, *to;
      const bool p_solved = is_solved(a);
      if (p_solved) {
        // Every other solution, and the failures within limits not below a.
        from = first;
        for (to = failures; to != last && !(a > std::fabs(to->time));) ++to;
        worker.raw_complete += failures - first - 1;
      } else {
        // The solutions not slower than p's limit.
        from = first;
        for (to = first; to != failures && !(to->time > std::fabs(a));) ++to;
      }
      worker.raw_invalid += (last - first - 1) - (to - from - (p_solved ? 1 : 0));

      double b = 0.0, score = 0.0, margin = 0.0;
      bool scored = false;
      for (const Layout::Listed* e = from; e != to; ++e) {
        if (e->program == p) continue;
        if (!scored || !(e->time == b)) {
          b = e->time;
          scores(p_solved && is_solved(b), a, ea, b, e->est, score, margin);
          scored = true;
        }
        met.push_back({score, margin, static_cast<int16_t>(e->program), static_cast<int16_t>(q),
                       std::fabs(a) < std::fabs(e->time)});
        ++start[e->program + 1];
      }
    }
  }
  for (int r = 1; r <= l.n + 1; ++r) start[r] += start[r - 1];
  worker.by_opponent.resize(met.size());
  for (const Meeting& m : met) worker.by_opponent[start[m.opponent]++] = m;
  // start[r] now ends opponent r's matches, which begin where r - 1's end.

  std::size_t i = 0;
  for (int r = 1; r <= l.n; ++r) {
    if (r == p) continue;
    int32_t games = 0, faster = 0;
    double pair_sum = t.pair_score[p][r];
    for (; i < static_cast<std::size_t>(start[r]); ++i) {
      const Meeting& m = worker.by_opponent[i];
      ++games;
      faster += m.faster;
      pair_sum += m.score;
      sums.count(m.score);
      sums.margin_scores[sums.margin_count++] = m.margin;
      const int c = t.difficulty_class[m.position];
      if (c < 0 || c > 3) continue;
      sums.class_count[c] += 1;
      sums.class_sum[c] += m.score;
    }
    sums.total += games;
    t.pair_games[p][r] += games;
    t.pair_score[p][r] = pair_sum;
    t.pair_faster[p][r] = static_cast<int16_t>(faster);
  }
}

}  // namespace tarvolin::matching
