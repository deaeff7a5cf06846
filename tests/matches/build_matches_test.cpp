#include "matches/build_matches.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "matches/normalise_times.h"

namespace tarvolin {
namespace {

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
