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

// Equal means rank the higher position number first.
TEST(NormaliseTimes, UntestedPositionRanksFirstAndTiesSplitAtTheBoundary) {
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

// The usual corrections are in the worked end-to-end cases; these are the
// edges: failures the offset would turn into solutions, programs without
// samples, times below the bound, and offsets that overflowed.
TEST(NormaliseTimes, OffsetEdges) {
  auto t = std::make_unique<Tables>();
  t->program_count = 4;
  t->position_count = 3;
  t->time_offset[1] = 5.0, t->offset_sample_count[1] = 1;            // offset 5
  t->time_offset[2] = 7.0, t->offset_sample_count[2] = 0;            // no samples
  t->time_offset[3] = 1e308 + 1e308, t->offset_sample_count[3] = 2;  // inf
  t->time_offset[4] = (1e308 + 1e308) - (1e308 + 1e308), t->offset_sample_count[4] = 4;  // nan
  auto& s = t->solve_time;
  s[1][1] = -3.0, s[2][1] = 0.4, s[3][1] = 12.5, s[4][1] = -30.0;
  s[1][2] = -5.0, s[2][2] = -8.0, s[3][2] = -9999998.5;
  normalise_times(*t);

  const double offsets[] = {5.0, 0.0, 0.0, 0.0};
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(t->time_offset[p], offsets[p - 1]) << p;
  EXPECT_EQ(s[1][1], -1.0);  // -3 + 5 would read as a solution
  EXPECT_EQ(s[2][1], 1.0);   // 0.4 floored without any offset
  EXPECT_EQ(s[3][1], 12.5);
  EXPECT_EQ(s[4][1], -30.0);
  EXPECT_EQ(t->pos_mst2[1], (1.0 + 1.0 + 12.5 + 30.0) / 4);
  EXPECT_EQ(s[1][2], -1.0);               // -5 + 5 is 0.0: still a failure
  EXPECT_EQ(s[3][2], -9999998.5);         // below the bound: as good as missing
  EXPECT_EQ(t->pos_mst1[2], -9999999.0);  // nobody solved it
  EXPECT_EQ(t->pos_mst2[2], 4.5);         // (1 + 8) / 2
  EXPECT_EQ(t->pos_mst1[3], -9999999.0);  // nobody tested it
  EXPECT_EQ(t->pos_mst2[3], -9999999.0);
}

}  // namespace
}  // namespace tarvolin
