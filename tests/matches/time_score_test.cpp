#include "matches/time_score.h"

#include <gtest/gtest.h>

#include "matches/build_matches.h"

namespace tarvolin {
namespace {

TEST(TimeScore, WorkedValuesAndExactPoints) {
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

  // Equal times score exactly a half whatever the path through the kernel.
  for (double t : {0.3, 1.0, 10.0, 57.5, 12345.678}) {
    EXPECT_EQ(time_score(t, t), 0.5) << t;
    EXPECT_EQ(time_score(t, -t), 0.75) << t;
    EXPECT_EQ(time_score(-t, t), 0.25) << t;
  }
  EXPECT_EQ(time_score(0.0, 1e-7), 0.5);  // both below the 0.000001 floor
  EXPECT_LT(time_score(0.0, 1e9), 1.0);
  EXPECT_EQ(time_score(-10.0, -60.0), 0.5);
}

// m (1 + 2 (L / m)^k)^(1 / k) for a failure within L against a solving mean m.
TEST(EstimatedTime, WorkedValues) {
  struct Row {
    double limit, mean, estimate;
  };
  const Row rows[] = {
      {10, 10, 140.94}, {60, 20, 617.98}, {60, 60, 845.62}, {5, 30, 149.90}, {30, 5, 266.09},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(estimated_time(-row.limit, row.mean), row.estimate, 0.005)
        << row.limit << " " << row.mean;
}

}  // namespace
}  // namespace tarvolin
