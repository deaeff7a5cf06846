#include "rating/clusters.h"

#include <vector>

#include "core/run_abort.h"
#include "rating/score_to_elo.h"

namespace tarvolin {

namespace {

// Depth-first search with an explicit stack: a chain of a thousand programs
// must not cost a thousand stack frames. Membership is all that matters, so
// the visiting order is free.
void cluster_search(Tables& t, int start, std::vector<char>& visited) {
  std::vector<int> stack{start};
  while (!stack.empty()) {
    int p = stack.back();
    stack.pop_back();
    if (visited[p]) continue;
    visited[p] = 1;
    for (int r = 1; r <= t.program_count; ++r) {
      if (r == p || visited[r] || t.cluster_id[r] != 0 || !linked(t, p, r)) continue;
      t.cluster_id[r] = t.cluster_id[p];
      stack.push_back(r);
    }
  }
}

// The cluster's size and matches, its members' score fractions, and the
// match-weighted mean of their Elo performances, which the ratings take off.
void measure_cluster(Tables& t, int c) {
  double offset_sum = 0.0;
  t.cluster_size[c] = 0;
  t.cluster_match_sum[c] = 0;
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.cluster_id[p] != c) continue;
    double points = 0.0;
    for (int r = 1; r <= t.program_count; ++r) points += t.pair_score[p][r];
    t.cluster_size[c] += 1;
    t.cluster_match_sum[c] += t.match_total[p];
    t.score_rate[p] = points / t.match_total[p];
    offset_sum += score_to_elo(t.score_rate[p]) * t.match_total[p];
  }
  t.itoffset[c] = offset_sum / static_cast<double>(t.cluster_match_sum[c]);
}

}  // namespace

int32_t find_clusters(Tables& t) {
  std::vector<char> visited(static_cast<std::size_t>(t.program_count) + 1, 0);
  for (int p = 1; p <= t.program_count; ++p) {
    t.cluster_id[p] = 0;
    if (t.match_total[p] == 0) visited[p] = 1;
  }
  t.cluster_count = 0;
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.cluster_id[p] != 0 || visited[p]) continue;
    if (t.cluster_count + 1 > MAX_CLUSTERS) {
      char message[64];
      std::snprintf(message, sizeof message, "Mehr als %d Cluster !\n", MAX_CLUSTERS);
      throw RunAbort{message};
    }
    t.cluster_id[p] = ++t.cluster_count;
    cluster_search(t, p, visited);
  }
  for (int c = 1; c <= t.cluster_count; ++c) measure_cluster(t, c);
  return t.cluster_count;
}

}  // namespace tarvolin
