#pragma once

#include "core/tables.h"

namespace tarvolin {

// Whether p and r met in at least one match.
inline bool linked(const Tables& t, int p, int r) {
  return t.pair_games[p][r] != 0 || t.pair_games[r][p] != 0;
}

// Labels every program with matches with its connected component of the
// match graph, numbered by their lowest program, and sets each program's
// score_rate and each cluster's cluster_size, cluster_match_sum and
// itoffset. Returns cluster_count. Throws RunAbort when a cluster beyond
// MAX_CLUSTERS would begin.
int32_t find_clusters(Tables& tables);

}  // namespace tarvolin
