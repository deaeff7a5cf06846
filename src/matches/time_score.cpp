#include "matches/time_score.h"

#include <cmath>

namespace tarvolin {

namespace {
constexpr double SMALLEST_TIME = 0.000001;
}

double time_exponent() {
  static const double k = 50.0 / (std::log10(2.0) * 400.0);
  return k;
}

// The ratio is formed first, then the power, then 1.0 is added, then the
// division and the subtraction: that order is what makes equal times score
// exactly 0.5 and keeps wins and losses on the right side of it.
double time_score(double a, double b) {
  const double k = time_exponent();
  if (a >= 0.0 && a < SMALLEST_TIME) a = SMALLEST_TIME;
  if (b >= 0.0 && b < SMALLEST_TIME) b = SMALLEST_TIME;
  if (a > 0.0 && b > 0.0) {
    double x = std::pow(a / b, -k);
    return 1.0 - 1.0 / (x + 1.0);
  }
  if (a > 0.0 && b < 0.0) {
    double x = std::pow(a / std::fabs(b), -k);
    return 1.0 - 0.5 / (x + 1.0);
  }
  if (a < 0.0 && b > 0.0) {
    double x = std::pow(std::fabs(a) / b, -k);
    return 0.5 - 0.5 / (x + 1.0);
  }
  return 0.5;
}

}  // namespace tarvolin
