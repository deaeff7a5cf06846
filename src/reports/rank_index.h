#pragma once

#include <vector>

#include "core/tables.h"

namespace tarvolin {

// For every program 1..program_count (slot 0 unused): the share of
// comparisons with solving programs in which it was at least as fast, over
// every position it was tested on (a program meets itself on positions it
// solved). Independent of the Elo model; 0.0 when nothing was compared.
std::vector<double> rank_indexes(const Tables& tables);

}  // namespace tarvolin
