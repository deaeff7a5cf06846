#include "matches/normalise_times.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tarvolin {
namespace {

// One program solving N positions, position q in (200 - q) seconds, so the
// ranks run against the numbering: position q has rank N + 1 - q.
std::vector<int> classes_in_rank_order(Tables& t, int n) {
  t.program_count = 1;
  t.position_count = n;
  for (int q = 1; q <= n; ++q) t.solve_time[1][q] = 200.0 - q;
  normalise_times(t);
  std::vector<int> classes;
  for (int q = n; q >= 1; --q) classes.push_back(t.difficulty_class[q]);
  return classes;
}

TEST(NormaliseTimes, DifficultyClassesFollowTheRanks) {
  struct Row {
    int n;
    std::vector<int> classes;
  };
  const Row rows[] = {
      {1, {3}},
      {2, {3, 3}},
      {3, {2, 3, 3}},
      {4, {2, 3, 3, 3}},
      {5, {2, 2, 3, 3, 3}},
      {6, {1, 2, 2, 3, 3, 3}},
      {10, {1, 1, 2, 2, 2, 3, 3, 3, 3, 3}},
      {12, {1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3}},
  };
  for (const Row& row : rows) {
    auto t = std::make_unique<Tables>();
    EXPECT_EQ(classes_in_rank_order(*t, row.n), row.classes) << "N = " << row.n;
  }

  auto t = std::make_unique<Tables>();
  int sizes[4] = {0, 0, 0, 0};
  for (int c : classes_in_rank_order(*t, 100)) ++sizes[c];
  EXPECT_EQ(sizes[1], 32);
  EXPECT_EQ(sizes[2], 33);
  EXPECT_EQ(sizes[3], 35);
}

TEST(NormaliseTimes, EqualMeansRankTheHigherNumberFirst) {
  // Six positions with the same mean: selection order 6, 5, 4, 3, 2, 1.
  auto t = std::make_unique<Tables>();
  t->program_count = 2;
  t->position_count = 6;
  for (int q = 1; q <= 6; ++q) {
    t->solve_time[1][q] = 4.0;
    t->solve_time[2][q] = -8.0;
  }
  normalise_times(*t);
  const int expected[] = {0, 3, 3, 3, 2, 2, 1};
  for (int q = 1; q <= 6; ++q) EXPECT_EQ(t->difficulty_class[q], expected[q]) << q;

  // An untested position has the lowest mean of all and comes first; the
  // tie of positions 2 and 4 at 9 s falls on the class 2 / 3 boundary.
  auto u = std::make_unique<Tables>();
  u->program_count = 1;
  u->position_count = 6;
  const double times[] = {0, 50.0, 9.0, NOT_TESTED, 9.0, 5.0, 70.0};
  for (int q = 1; q <= 6; ++q) u->solve_time[1][q] = times[q];
  normalise_times(*u);
  // ranks: 3 -> 1, 5 -> 2, 4 -> 3, 2 -> 4, 1 -> 5, 6 -> 6
  const int by_rank[] = {0, 3, 3, 1, 2, 2, 3};
  for (int q = 1; q <= 6; ++q) EXPECT_EQ(u->difficulty_class[q], by_rank[q]) << q;
}

TEST(NormaliseTimes, OffsetsCorrectEveryTestedTimeAndTheMeans) {
  auto t = std::make_unique<Tables>();
  t->program_count = 4;
  t->position_count = 4;
  // Sample sums and counts as the offset file leaves them.
  t->time_offset[1] = 5.0, t->offset_sample_count[1] = 1;   // offset 5
  t->time_offset[2] = -4.0, t->offset_sample_count[2] = 2;  // offset -2
  t->time_offset[3] = 5.0, t->offset_sample_count[3] = 2;   // offset 2.5
  t->time_offset[4] = 7.0, t->offset_sample_count[4] = 0;   // no samples
  auto& s = t->solve_time;
  s[1][1] = 3.0, s[2][1] = 10.0, s[3][1] = 10.0, s[4][1] = 0.4;
  s[1][2] = -3.0, s[2][2] = -60.0, s[3][2] = -60.0, s[4][2] = 0.0;
  s[1][3] = -5.0, s[4][3] = -8.0;
  s[2][4] = -9999998.5;  // below the bound: as good as missing
  normalise_times(*t);

  EXPECT_EQ(t->time_offset[1], 5.0);
  EXPECT_EQ(t->time_offset[2], -2.0);
  EXPECT_EQ(t->time_offset[3], 2.5);
  EXPECT_EQ(t->time_offset[4], 0.0);

  EXPECT_EQ(s[1][1], 1.0);   // 3 - 5 floored
  EXPECT_EQ(s[2][1], 12.0);  // a negative offset lengthens
  EXPECT_EQ(s[3][1], 7.5);
  EXPECT_EQ(s[4][1], 1.0);           // 0.4 floored without any offset
  EXPECT_EQ(t->pos_mst1[1], 5.375);  // (1 + 12 + 7.5 + 1) / 4
  EXPECT_EQ(t->pos_mst2[1], 5.375);

  EXPECT_EQ(s[1][2], -1.0);  // -3 + 5 would read as a solution
  EXPECT_EQ(s[2][2], -62.0);
  EXPECT_EQ(s[3][2], -57.5);
  EXPECT_EQ(s[4][2], 1.0);
  EXPECT_EQ(t->pos_mst1[2], 1.0);
  EXPECT_EQ(t->pos_mst2[2], 30.375);  // (1 + 62 + 57.5 + 1) / 4

  EXPECT_EQ(s[1][3], -1.0);  // -5 + 5 is 0.0: still a failure
  EXPECT_EQ(s[4][3], -8.0);
  EXPECT_EQ(t->pos_mst1[3], -9999999.0);  // nobody solved it
  EXPECT_EQ(t->pos_mst2[3], 4.5);         // (1 + 8) / 2

  EXPECT_EQ(s[2][4], -9999998.5);
  EXPECT_EQ(s[1][4], NOT_TESTED);
  EXPECT_EQ(t->pos_mst1[4], -9999999.0);
  EXPECT_EQ(t->pos_mst2[4], -9999999.0);
  // N = 4: the untested position takes rank 1 and class 2, the rest class 3.
  EXPECT_EQ(t->difficulty_class[4], 2);
  for (int q = 1; q <= 3; ++q) EXPECT_EQ(t->difficulty_class[q], 3) << q;
}

// Offset samples of 1e308 add up past the largest double: that offset must
// not reach the times as inf or nan, where sorting and scoring break down.
TEST(NormaliseTimes, OverflowingOffsetCountsAsNone) {
  Tables t;
  t.program_count = 2;
  t.position_count = 1;
  t.solve_time[1][1] = 12.5;
  t.solve_time[2][1] = -30.0;
  t.time_offset[1] = 1e308 + 1e308;  // inf
  t.offset_sample_count[1] = 2;
  t.time_offset[2] = (1e308 + 1e308) + (-1e308 - 1e308);  // inf + -inf = nan
  t.offset_sample_count[2] = 4;
  normalise_times(t);
  EXPECT_EQ(t.time_offset[1], 0.0);
  EXPECT_EQ(t.time_offset[2], 0.0);
  EXPECT_EQ(t.solve_time[1][1], 12.5);
  EXPECT_EQ(t.solve_time[2][1], -30.0);
  EXPECT_EQ(t.pos_mst2[1], (12.5 + 30.0) / 2);
}

}  // namespace
}  // namespace tarvolin
