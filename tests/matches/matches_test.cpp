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
  const double rows[][3] = {{10, 20, 0.571463},  {10, 40, 0.640065},  {1, 65536, 0.990099},
                            {0, 5, 0.998350},    {10, -60, 0.838936}, {-60, 10, 0.161064},
                            {-10, 100, 0.361173}};
  for (const auto& r : rows) EXPECT_NEAR(time_score(r[0], r[1]), r[2], 5e-7) << r[0] << " " << r[1];
  // Equal times score exactly, whatever the path through the kernel; both
  // below the 0.000001 floor too.
  for (double t : {0.3, 12345.678})
    EXPECT_EQ((std::array{time_score(t, t), time_score(t, -t), time_score(-t, t)}),
              (std::array{0.5, 0.75, 0.25}));
  EXPECT_EQ((std::array{time_score(0.0, 1e-7), time_score(-10.0, -60.0)}), (std::array{0.5, 0.5}));
  // m (1 + 2 (L / m)^k)^(1 / k) for a failure within L against a solving mean m.
  for (const auto& e : {std::array{10.0, 10.0, 140.94}, {60.0, 20.0, 617.98}, {30.0, 5.0, 266.09}})
    EXPECT_NEAR(estimated_time(-e[0], e[1]), e[2], 0.005) << e[0];
}

// Classes of N positions solved by one program, position q in (200 - q) s so
// that position q has rank N + 1 - q; listed in rank order.
TEST(NormaliseTimes, DifficultyClassesFollowTheRanks) {
  // clang-format off
  const std::vector<std::vector<int>> rows = {{3}, {3, 3}, {2, 3, 3}, {2, 3, 3, 3}, {2, 2, 3, 3, 3},
      {1, 2, 2, 3, 3, 3}, {1, 1, 2, 2, 2, 3, 3, 3, 3, 3}, {1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3}};
  // clang-format on
  for (const std::vector<int>& classes : rows) {
    auto t = std::make_unique<Tables>();
    const int n = static_cast<int>(classes.size());
    t->program_count = 1, t->position_count = n;
    for (int q = 1; q <= n; ++q) t->solve_time[1][q] = 200.0 - q;
    normalise_times(*t);
    for (int q = 1; q <= n; ++q) EXPECT_EQ(t->difficulty_class[q], classes[n - q]) << n << " " << q;
  }
  // An untested position has the lowest mean and ranks first; equal means
  // rank the higher number first, so the tie of 2 and 4 at 9 s falls on the
  // class 2 / 3 boundary. Ranks: 3, 5, 4, 2, 1, 6.
  auto u = std::make_unique<Tables>();
  u->program_count = 1, u->position_count = 6;
  const double times[][2] = {{50.0, 3}, {9.0, 3}, {NOT_TESTED, 1}, {9.0, 2}, {5.0, 2}, {70.0, 3}};
  for (int q = 1; q <= 6; ++q) u->solve_time[1][q] = times[q - 1][0];
  normalise_times(*u);
  for (int q = 1; q <= 6; ++q) EXPECT_EQ(u->difficulty_class[q], times[q - 1][1]) << q;
}

// Failures the offset would turn into solutions, programs without samples,
// times below the bound and offsets that overflowed.
TEST(NormaliseTimes, OffsetEdges) {
  auto t = std::make_unique<Tables>();
  t->program_count = 4, t->position_count = 3;
  const double huge = 1e308 + 1e308;
  const double offsets[][2] = {{5.0, 1}, {7.0, 0}, {huge, 2}, {huge - huge, 4}};  // offset, samples
  for (int p = 1; p <= 4; ++p)
    t->time_offset[p] = offsets[p - 1][0], t->offset_sample_count[p] = offsets[p - 1][1];
  auto& s = t->solve_time;
  s[1][1] = -3.0, s[2][1] = 0.4, s[3][1] = 12.5, s[4][1] = -30.0;
  s[1][2] = -5.0, s[2][2] = -8.0, s[3][2] = -9999998.5;
  normalise_times(*t);
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(t->time_offset[p], p == 1 ? 5.0 : 0.0) << p;
  // -3 + 5 would read as a solution, -5 + 5 is 0.0: both stay failures; 0.4 is
  // floored without any offset; below the bound is as good as missing.
  EXPECT_EQ((std::array{s[1][1], s[2][1], s[3][1], s[4][1], s[1][2], s[3][2]}),
            (std::array{-1.0, 1.0, 12.5, -30.0, -1.0, -9999998.5}));
  EXPECT_EQ((std::array{t->pos_mst2[1], t->pos_mst2[2], t->pos_mst1[2], t->pos_mst2[3]}),
            (std::array{(1.0 + 1.0 + 12.5 + 30.0) / 4, 4.5, -9999999.0, -9999999.0}));
}

// The boundaries of a valid pair; ordinary suites are in the worked
// end-to-end cases.
TEST(BuildMatches, InvalidPairsDrawsAndPairsThatNeverMeet) {
  auto t = std::make_unique<Tables>();
  t->program_count = 4, t->position_count = 7;
  auto& s = t->solve_time;
  s[1][1] = -10.0, s[2][1] = -60.0;  // both failed: invalid, nobody solved
  s[1][2] = 30.0, s[2][2] = -20.0;   // solved after the other's limit: invalid
  s[1][3] = 20.0, s[2][3] = -20.0;   // solved right at the limit: a win
  s[1][4] = 0.3, s[2][4] = 0.7;      // both floored to 1.0: a draw
  s[3][5] = 5.0, s[4][6] = 5.0;      // 3 and 4 never share a position
  normalise_times(*t);
  build_matches(*t);
  EXPECT_EQ((std::array{t->invalid_count, t->match_count, t->complete_count}),
            (std::array{2, 2, 1}));
  const int tallies[][4] = {
      {1, 1, 0, 2}, {0, 1, 1, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}};  // +, =, -, all
  for (int p = 1; p <= 4; ++p)
    EXPECT_EQ(
        (std::array{t->match_wins[p], t->match_draws[p], t->match_losses[p], t->match_total[p]}),
        std::to_array(tallies[p - 1]));
  EXPECT_EQ(t->pair_games[1][2] + t->pair_games[2][1], 4);
  // At its own limit the failure's estimate scores 1/(1 + 1/3); plus the draw.
  EXPECT_NEAR(t->pair_score[1][2], 1.25, 1e-12);
  EXPECT_NEAR(t->pair_score[2][1], 0.75, 1e-12);
  // Failures on a position nobody solved keep their limits.
  EXPECT_EQ((std::array{t->est_time[1][1], t->est_time[3][1]}), (std::array{-10.0, NOT_TESTED}));
  EXPECT_EQ(t->tested_position_count, 6);
}

}  // namespace
}  // namespace tarvolin
