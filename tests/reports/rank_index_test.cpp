#include "reports/rank_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvolin {
namespace {

TEST(RankIndex, ComparesOnlyWithSolversWithinTheOwnTime) {
  struct Row {
    std::vector<double> times;  // programs 1..n on one position
    int program;
    double index;
  };
  const Row rows[] = {
      {{10.0, 20.0}, 1, 1.0},   // itself and the slower one
      {{10.0, 20.0}, 2, 0.5},   // only itself
      {{10.0, -60.0}, 1, 1.0},  // a failure is never an opponent
      {{10.0, -60.0}, 2, 0.0},  // beaten within its limit
      {{-5.0, 10.0}, 1, 0.0},   // solver came after the limit: nothing compared
      {{-5.0, 10.0}, 2, 1.0},
      {{-10.0, -20.0}, 1, 0.0},
      {{-10.0, 10.0, 5.0}, 1, 0.5},  // a solve exactly at the limit is a hit
      {{NOT_TESTED, NOT_TESTED}, 1, 0.0},
  };
  for (const Row& row : rows) {
    Tables t;
    t.program_count = static_cast<int32_t>(row.times.size());
    t.position_count = 1;
    for (int p = 1; p <= t.program_count; ++p) t.solve_time[p][1] = row.times[p - 1];
    EXPECT_EQ(rank_indexes(t)[row.program], row.index) << row.program << " " << row.times[0];
  }
  Tables none;  // no positions at all
  none.program_count = 2;
  EXPECT_EQ(rank_indexes(none)[1], 0.0);
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
  EXPECT_DOUBLE_EQ(rank_indexes(t)[1], 0.8);
}

}  // namespace
}  // namespace tarvolin
