#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "matches/time_score.h"

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

// Wins, draws, losses and matches of programs 1..n as {w, d, l, total}.
void expect_tallies(const Tables& t, std::initializer_list<std::array<int, 4>> rows) {
  int p = 1;
  for (const auto& row : rows) {
    EXPECT_EQ(t.match_wins[p], row[0]) << p;
    EXPECT_EQ(t.match_draws[p], row[1]) << p;
    EXPECT_EQ(t.match_losses[p], row[2]) << p;
    EXPECT_EQ(t.match_total[p], row[3]) << p;
    ++p;
  }
}

// Matches and estimates of an ordinary suite are in the worked end-to-end
// cases; these are the boundaries of a valid pair.
TEST(BuildMatches, InvalidPairsDrawsAndPairsThatNeverMeet) {
  auto t = std::make_unique<Tables>();
  t->program_count = 4;
  t->position_count = 7;
  auto& s = t->solve_time;
  s[1][1] = -10.0, s[2][1] = -60.0;  // both failed: invalid, nobody solved
  s[1][2] = 30.0, s[2][2] = -20.0;   // solved after the other's limit: invalid
  s[1][3] = 20.0, s[2][3] = -20.0;   // solved right at the limit: a win
  s[1][4] = 0.3, s[2][4] = 0.7;      // both floored to 1.0: a draw
  s[3][5] = 5.0;                     // 3 and 4 never share a position
  s[4][6] = 5.0;
  normalise_times(*t);
  build_matches(*t);

  EXPECT_EQ(t->invalid_count, 2);
  EXPECT_EQ(t->match_count, 2);
  EXPECT_EQ(t->complete_count, 1);
  expect_tallies(*t, {{1, 1, 0, 2}, {0, 1, 1, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}});
  EXPECT_EQ(t->pair_games[1][2], 2);
  EXPECT_EQ(t->pair_games[2][1], 2);
  // At its own limit the failure's estimate scores 1/(1 + 1/3) for the
  // solver; plus the draw.
  EXPECT_NEAR(t->pair_score[1][2], 1.25, 1e-12);
  EXPECT_NEAR(t->pair_score[2][1], 0.75, 1e-12);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(t->pair_games[3][r] + t->pair_games[r][4], 0);

  // Failures on a position nobody solved keep their limits and stay out of
  // the estimate mean.
  EXPECT_EQ(t->est_time[1][1], -10.0);
  EXPECT_EQ(t->est_time[2][1], -60.0);
  EXPECT_EQ(t->est_time[3][1], NOT_TESTED);
  EXPECT_EQ(t->overall_mst1, 62.0 / 6);  // 30 + 20 + 1 + 1 + 5 + 5
  EXPECT_EQ(t->overall_mst2, 17.2);      // (70 + 50 + 40 + 2 + 5 + 5) / 10
  // (30 + 325.164 + 20 + 281.872 + 1 + 1 + 5 + 5) / 8, the estimates being
  // m (1 + 2 (L/m)^k)^(1/k) for L = 20 against m = 30 and m = 20.
  EXPECT_NEAR(t->overall_imst, 83.62956001669718, 1e-9);
  EXPECT_EQ(t->tested_position_count, 6);
}

}  // namespace
}  // namespace tarvolin
