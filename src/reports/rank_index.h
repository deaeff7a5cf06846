#pragma once

#include "core/tables.h"

namespace tarvolin {

// Share of comparisons with solving programs in which p was at least as
// fast, over every position p was tested on (p meets itself on positions it
// solved). Independent of the Elo model; 0.0 when nothing was compared.
double rank_index(const Tables& tables, int32_t p);

}  // namespace tarvolin
