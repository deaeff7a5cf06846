#include "core/tables.h"

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

TEST(Tables, StartEmptyWithEveryResultMissing) {
  Tables t;
  EXPECT_EQ(t.program_count, 0);
  EXPECT_EQ(t.position_count, 0);
  EXPECT_EQ(t.start_elo, 2600.0);
  for (int p : {0, 1, 500, MAX_PROGRAMS})
    for (int q : {0, 1, 1000, MAX_POSITIONS}) {
      EXPECT_EQ(t.solve_time[p][q], NOT_TESTED);
      EXPECT_EQ(t.est_time[p][q], NOT_TESTED);
    }
  EXPECT_EQ(t.pair_games[MAX_PROGRAMS][MAX_PROGRAMS], 0);
  EXPECT_EQ(t.time_offset[MAX_PROGRAMS], 0.0);
  EXPECT_EQ(t.match_total[MAX_PROGRAMS], 0);
}

TEST(Tables, MissingIsEverythingBelowTheBound) {
  EXPECT_FALSE(is_tested(NOT_TESTED));
  EXPECT_FALSE(is_tested(-9999998.5));  // a failure "within 9999998.5 s"
  EXPECT_TRUE(is_tested(-9999998.0));
  EXPECT_TRUE(is_tested(-9999997.0));
  EXPECT_FALSE(is_solved(-9999997.0));
  EXPECT_TRUE(is_solved(0.0));
  EXPECT_FALSE(is_solved(-0.5));
}

}  // namespace
}  // namespace tarvolin
