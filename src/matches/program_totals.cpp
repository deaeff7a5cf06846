#include "matches/match_walk.h"

namespace tarvolin::matching {

// Each sum runs over p's matches with opponents r ascending and, within
// each, positions q ascending, whichever walk gathers them; a sum taken in
// another order would round differently.
void walk_program(Tables& t, const Layout& l, int p, Worker& worker) {
  ProgramTotals sums;
  for (int c = 0; c < 4; ++c) sums.class_sum[c] = t.trend_sum[p][c];
  const bool buffered = worker.ready;
  sums.margin_scores = worker.margin_scores.get();

  if (!buffered)
    walk_plain(t, p, worker, sums);
  else if (l.sparse)
    walk_lists(t, l, p, worker, sums);
  else
    walk_words(t, l, p, worker, sums);

  t.match_total[p] += sums.total;
  t.match_wins[p] += sums.wins;
  t.match_draws[p] += sums.draws;
  t.match_losses[p] += sums.losses;
  for (int c = 0; c < 4; ++c) {
    if (sums.class_count[c] == 0) continue;
    t.trend_count[p][c] += sums.class_count[c];
    t.trend_sum[p][c] = sums.class_sum[c];
  }

  // The score fraction as the cluster analysis forms it, and the spread of
  // the margin scores around it.
  if (t.match_total[p] == 0) return;
  double points = 0.0;
  for (int r = 1; r <= l.n; ++r) points += t.pair_score[p][r];
  const double rate = points / t.match_total[p];
  double squares = 0.0;
  if (!buffered) {
    squares = plain_squares(t, p, rate);
  } else {
    for (std::size_t i = 0; i < sums.margin_count; ++i) {
      double deviation = sums.margin_scores[i] - rate;
      squares += deviation * deviation;
    }
  }
  t.margin_squares[p] = squares;
  t.margin_rate[p] = rate;
}

}  // namespace tarvolin::matching
