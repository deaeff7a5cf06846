#include "reports/rank_index.h"

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

// Times of programs 1..n on a single position.
void one_position(Tables& t, std::initializer_list<double> times) {
  t.program_count = static_cast<int32_t>(times.size());
  t.position_count = 1;
  int p = 1;
  for (double time : times) t.solve_time[p++][1] = time;
}

TEST(RankIndex, ComparesOnlyWithSolversWithinTheOwnTime) {
  {
    Tables t;
    one_position(t, {10.0, 20.0});
    EXPECT_EQ(rank_index(t, 1), 1.0);  // itself and the slower one
    EXPECT_EQ(rank_index(t, 2), 0.5);  // only itself
  }
  {
    Tables t;
    one_position(t, {10.0, -60.0});
    EXPECT_EQ(rank_index(t, 1), 1.0);  // a failure is never an opponent
    EXPECT_EQ(rank_index(t, 2), 0.0);  // beaten within its limit
  }
  {
    Tables t;
    one_position(t, {-5.0, 10.0});
    EXPECT_EQ(rank_index(t, 1), 0.0);  // solver came after the limit: nothing compared
    EXPECT_EQ(rank_index(t, 2), 1.0);
  }
  {
    Tables t;
    one_position(t, {-10.0, -20.0});
    EXPECT_EQ(rank_index(t, 1), 0.0);
  }
  {
    Tables t;
    one_position(t, {-10.0, 10.0, 5.0});
    EXPECT_EQ(rank_index(t, 1), 0.5);  // a solve exactly at the limit is a hit
  }
  {
    Tables t;
    t.program_count = 2;
    t.position_count = 0;
    EXPECT_EQ(rank_index(t, 1), 0.0);
  }
}

TEST(RankIndex, PoolsComparisonsOverAllPositions) {
  Tables t;
  t.program_count = 3;
  t.position_count = 3;
  t.solve_time[1][1] = 10.0, t.solve_time[2][1] = 20.0, t.solve_time[3][1] = 30.0;
  t.solve_time[1][2] = 20.0, t.solve_time[2][2] = 10.0;
  // position 3 untested for program 1
  t.solve_time[2][3] = 1.0;
  // 3 of 3 plus 1 of 2: 4 / 5, not the mean of the two shares
  EXPECT_DOUBLE_EQ(rank_index(t, 1), 0.8);
}

}  // namespace
}  // namespace tarvolin
