#include "matches/time_score.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvolin {
namespace {

TEST(TimeScore, WorkedValues) {
  struct Row {
    double a, b, score;
  };
  const Row rows[] = {
      {10, 20, 0.571463},   {20, 10, 0.428537},   {1, 2, 0.571463},    {10, 10, 0.500000},
      {10, 40, 0.640065},   {1, 65536, 0.990099}, {0, 5, 0.998350},    {10, -60, 0.838936},
      {60, -60, 0.750000},  {1, -60, 0.922776},   {-60, 10, 0.161064}, {-60, 60, 0.250000},
      {-10, 100, 0.361173},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(time_score(row.a, row.b), row.score, 5e-7) << row.a << " vs " << row.b;
  EXPECT_NEAR(time_exponent(), 0.41524101186092, 1e-13);
}

TEST(TimeScore, ExactValues) {
  for (double t : {0.3, 1.0, 10.0, 57.5, 12345.678}) {
    EXPECT_EQ(time_score(t, t), 0.5) << t;
    EXPECT_EQ(time_score(t, -t), 0.75) << t;
    EXPECT_EQ(time_score(-t, t), 0.25) << t;
  }
  // Both below the floor: both count as 0.000001.
  EXPECT_EQ(time_score(0.0, 1e-7), 0.5);
  EXPECT_LT(time_score(0.0, 1e9), 1.0);
  EXPECT_EQ(time_score(-10.0, -60.0), 0.5);
}

// Wins, draws and losses hang on the last bit of the score, so the kernel
// must compute exactly this sequence of operations.
TEST(TimeScore, BitsOfTheWrittenFormula) {
  const double k = 50.0 / (std::log10(2.0) * 400.0);
  EXPECT_EQ(time_exponent(), k);
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> log_time(-2.0, 4.0);
  for (int i = 0; i < 5000; ++i) {
    double a = std::pow(10.0, log_time(random));
    // Neighbours of a in the last bits, as offsets leave them.
    double b = i % 3 == 0 ? std::nextafter(a, 1e9) : std::pow(10.0, log_time(random));
    double both = 1.0 - 1.0 / (std::pow(a / b, -k) + 1.0);
    double a_only = 1.0 - 0.5 / (std::pow(a / b, -k) + 1.0);
    double b_only = 0.5 - 0.5 / (std::pow(a / b, -k) + 1.0);
    ASSERT_EQ(time_score(a, b), both) << a << " " << b;
    ASSERT_EQ(time_score(a, -b), a_only) << a << " " << b;
    ASSERT_EQ(time_score(-a, b), b_only) << a << " " << b;
  }
}

}  // namespace
}  // namespace tarvolin
