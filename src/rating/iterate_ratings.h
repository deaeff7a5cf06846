#pragma once

#include "core/tables.h"

namespace tarvolin {

inline constexpr int ITERATION_FAILURE_COUNT = 1000;

// Damped fixed-point iteration from ELO_BASE towards each program's
// performance rating, centred per cluster by itoffset. Fills elo and
// avg_opponent_elo; returns the iteration count, 1 to 1001. A count of
// ITERATION_FAILURE_COUNT or more means it did not settle.
int32_t iterate_ratings(Tables& tables);

}  // namespace tarvolin
