#pragma once

#include <vector>

#include "core/tables.h"

namespace tarvolin {

// Share of comparisons with solving programs in which p was at least as
// fast, over every position p was tested on (p meets itself on positions it
// solved). Independent of the Elo model; 0.0 when nothing was compared.
double rank_index(const Tables& tables, int32_t p);

// rank_index of every program 1..program_count at once (slot 0 unused), for
// reports that need them all: one sort per position instead of a scan of
// every program for each program.
std::vector<double> rank_indexes(const Tables& tables);

}  // namespace tarvolin
