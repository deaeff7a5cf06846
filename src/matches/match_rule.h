#pragma once

#include <cmath>

#include "core/tables.h"

namespace tarvolin {

// Whether two results on one position form a match: both tested, at least
// one solved, and no solver slower than the other program's failed limit.
inline bool forms_match(double a, double b) {
  if (!is_tested(a) || !is_tested(b)) return false;
  if (a < 0.0 && b < 0.0) return false;
  if (a < 0.0 && b > std::fabs(a)) return false;
  if (b < 0.0 && a > std::fabs(b)) return false;
  return true;
}

}  // namespace tarvolin
