#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Writes "cluster.dat": each cluster's programs with their number of
// opponents, its size, matches and itoffset, as find_clusters left them.
// False when the report could not be written (already announced on
// console).
bool write_cluster_report(const Tables& tables, std::FILE* console);

}  // namespace tarvolin
