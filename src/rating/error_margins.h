#pragma once

#include "core/tables.h"

namespace tarvolin {

// Fills elo_margin: the Elo distance from a program's score fraction to the
// same fraction raised by two standard errors of its match scores. The match
// scores here come from the recorded times, failures with their limits, not
// from the estimated times the matches were scored with. The sum of squared
// deviations is the one the match builder left in margin_squares.
void compute_error_margins(Tables& tables);

}  // namespace tarvolin
