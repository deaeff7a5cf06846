#pragma once

#include "core/tables.h"

namespace tarvolin {

// Turns offset sums into means, corrects every tested time by its program's
// offset (solved times floored at 1.0 s), fills pos_mst1 and pos_mst2 and
// puts each position into difficulty class 1, 2 or 3.
void normalise_times(Tables& tables);

}  // namespace tarvolin
