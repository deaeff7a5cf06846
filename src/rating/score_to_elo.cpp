#include "rating/score_to_elo.h"

#include <cmath>

namespace tarvolin {

double score_to_elo(double p) {
  if (std::isnan(p)) return 0.0;
  // The decimal bounds, not 1/101 and 100/101: reports printed so far rest
  // on exactly these.
  if (p < 0.009901) return -800.0;
  if (p > 0.990099) return 800.0;
  return 400.0 * std::log10(p / (1.0 - p));
}

}  // namespace tarvolin
