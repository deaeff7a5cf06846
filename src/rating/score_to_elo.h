#pragma once

namespace tarvolin {

// Elo difference of a score fraction p: 400 * log10(p / (1 - p)), clamped to
// -800 below 0.009901 and +800 above 0.990099. NaN gives 0.0.
double score_to_elo(double p);

}  // namespace tarvolin
