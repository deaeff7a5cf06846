#include "rating/score_to_elo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvolin {
namespace {

TEST(ScoreToElo, ClampsOutsideTheDecimalBoundsOnly) {
  // The bounds themselves go through the formula.
  EXPECT_NEAR(score_to_elo(0.009901), -799.9998245451161, 1e-10);
  EXPECT_NEAR(score_to_elo(0.990099), 799.9998245451152, 1e-10);
  EXPECT_EQ(score_to_elo(0.0099), -800.0);
  EXPECT_EQ(score_to_elo(0.9901), 800.0);
  // Between 1/101 and the decimal bound the formula would give -799.99991;
  // the clamp already holds (and mirrored above 0.990099).
  EXPECT_EQ(score_to_elo(0.009900995), -800.0);
  EXPECT_EQ(score_to_elo(0.990099005), 800.0);
  for (double p : {-1.0, 0.0}) EXPECT_EQ(score_to_elo(p), -800.0) << p;
  for (double p : {1.0, 2.0}) EXPECT_EQ(score_to_elo(p), 800.0) << p;
}

TEST(ScoreToElo, InnerValues) {
  EXPECT_EQ(score_to_elo(0.5), 0.0);
  EXPECT_NEAR(score_to_elo(0.25), -190.8485018878650, 1e-10);
  EXPECT_NEAR(score_to_elo(0.75), 190.8485018878650, 1e-10);
  EXPECT_NEAR(score_to_elo(0.9), 381.6970037757300, 1e-10);
  EXPECT_EQ(score_to_elo(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

}  // namespace
}  // namespace tarvolin
