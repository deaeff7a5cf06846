#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Labels every program with matches with its connected component of the
// match graph, numbered by their lowest program. Returns cluster_count.
// Throws RunAbort when a cluster beyond MAX_CLUSTERS would begin.
int32_t find_clusters(Tables& tables);

// Sets cluster_size, score_rate and itoffset and writes "cluster.dat". The
// values are set even when the file cannot be written; the result says
// whether it was.
bool write_cluster_report(Tables& tables, std::FILE* console);

}  // namespace tarvolin
