#include "rating/iterate_ratings.h"

#include <cmath>
#include <new>
#include <vector>

#include "rating/score_to_elo.h"

namespace tarvolin {

namespace {

constexpr double DAMPING = 0.5;
constexpr double SETTLED = 0.001;
constexpr int LAST_ITERATION_TO_CONTINUE = 1000;

struct Opponent {
  int program;
  double weight;  // share of p's matches played against this opponent
};

bool meets(const Tables& t, int p, int r) {
  return r != p && t.match_total[r] != 0 && t.pair_games[p][r] != 0;
}

double weight(const Tables& t, int p, int r) {
  return static_cast<double>(t.pair_games[p][r]) / static_cast<double>(t.match_total[p]);
}

}  // namespace

int32_t iterate_ratings(Tables& t) {
  const int n = t.program_count;
  // Programs that never met p add exactly 0.0 to its opponents' sum, so
  // leaving them out keeps every bit while saving the full n x n sweep.
  // Without the memory for the lists, the sweep skips them as it goes.
  std::vector<std::vector<Opponent>> opponents;
  bool listed = true;
  try {
    opponents.resize(static_cast<std::size_t>(n) + 1);
    for (int p = 1; p <= n; ++p) {
      if (t.match_total[p] == 0) continue;
      for (int r = 1; r <= n; ++r) {
        if (meets(t, p, r)) opponents[p].push_back({r, weight(t, p, r)});
      }
    }
  } catch (const std::bad_alloc&) {
    std::vector<std::vector<Opponent>>().swap(opponents);
    listed = false;
  }
  std::vector<double> performance(static_cast<std::size_t>(n) + 1, 0.0);
  for (int p = 1; p <= n; ++p) {
    if (t.match_total[p] != 0) performance[p] = score_to_elo(t.score_rate[p]);
  }

  std::vector<double> elo_prev(static_cast<std::size_t>(n) + 1, ELO_BASE);
  int32_t iteration = 0;
  for (;;) {
    ++iteration;
    for (int p = 1; p <= n; ++p) {
      if (t.match_total[p] == 0) continue;
      double sum = 0.0;
      if (listed) {
        for (const Opponent& o : opponents[p]) sum += o.weight * elo_prev[o.program];
      } else {
        for (int r = 1; r <= n; ++r)
          if (meets(t, p, r)) sum += weight(t, p, r) * elo_prev[r];
      }
      t.avg_opponent_elo[p] = sum;
      t.elo[p] = ((sum + performance[p] - t.itoffset[t.cluster_id[p]]) + elo_prev[p]) * DAMPING;
    }
    double largest_change = 0.0;
    for (int p = 1; p <= n; ++p) {
      if (t.match_total[p] == 0) continue;
      double change = t.elo[p] - elo_prev[p];
      if (std::fabs(change) > largest_change) largest_change = std::fabs(change);
      elo_prev[p] = t.elo[p];
    }
    if (largest_change <= SETTLED || iteration > LAST_ITERATION_TO_CONTINUE) break;
  }
  return iteration;
}

}  // namespace tarvolin
