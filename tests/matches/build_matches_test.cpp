#include "matches/build_matches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "matches/normalise_times.h"
#include "matches/time_score.h"

namespace tarvolin {
namespace {

// 2^(1/k), the factor by which an estimate always exceeds the failed limit.
constexpr double ESTIMATE_FACTOR = 5.308;

TEST(EstimatedTime, ExamplesAndBounds) {
  struct Row {
    double limit, mean, estimate;
  };
  const Row rows[] = {
      {10, 10, 140.94}, {60, 20, 617.98}, {60, 60, 845.62}, {5, 30, 149.90}, {30, 5, 266.09},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(estimated_time(-row.limit, row.mean), row.estimate, 0.005)
        << row.limit << " " << row.mean;

  const double k = 50.0 / (std::log10(2.0) * 400.0);
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> log_time(0.0, 3.5);
  for (int i = 0; i < 2000; ++i) {
    double limit = std::pow(10.0, log_time(random));
    double mean = std::pow(10.0, log_time(random));
    double estimate = estimated_time(-limit, mean);
    EXPECT_GT(estimate, ESTIMATE_FACTOR * limit) << limit << " " << mean;
    double s = time_score(-limit, mean);
    ASSERT_EQ(estimate, std::pow(s / (1.0 - s), -1.0 / k) * mean) << limit << " " << mean;
  }
}

// Normalises and builds matches over the times set in t.
void build(Tables& t) {
  normalise_times(t);
  build_matches(t);
}

TEST(BuildMatches, ThreeProgramsOnOnePosition) {
  auto t = std::make_unique<Tables>();
  t->program_count = 3;
  t->position_count = 1;
  t->solve_time[1][1] = 10.0;
  t->solve_time[2][1] = 20.0;
  t->solve_time[3][1] = -60.0;
  build(*t);

  EXPECT_EQ(t->match_count, 3);
  EXPECT_EQ(t->complete_count, 1);
  EXPECT_EQ(t->invalid_count, 0);
  EXPECT_EQ(t->match_wins[1], 2);
  EXPECT_EQ(t->match_losses[1], 0);
  EXPECT_EQ(t->match_wins[2], 1);
  EXPECT_EQ(t->match_losses[2], 1);
  EXPECT_EQ(t->match_wins[3], 0);
  EXPECT_EQ(t->match_losses[3], 2);
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(t->match_total[p], 2);
    EXPECT_EQ(t->match_draws[p], 0);
    EXPECT_EQ(t->trend_count[p][3], 2);  // a lone position is class 3
  }
  EXPECT_NEAR(t->pair_score[1][2], 0.571463, 5e-7);
  EXPECT_NEAR(t->pair_score[2][1], 0.428537, 5e-7);
  // The failure meets each solver with its estimate: 1 / (1 + (a / 578.43)^k).
  EXPECT_NEAR(t->pair_score[1][3], 0.8435566947284032, 1e-12);
  EXPECT_NEAR(t->pair_score[2][3], 0.8017249362135955, 1e-12);
  EXPECT_NEAR(t->pair_score[3][1], 1.0 - 0.8435566947284032, 1e-12);

  // 15 * (1 + 2 * (60 / 15)^k)^(1 / k), and the means over 10, 20, 60.
  EXPECT_NEAR(t->est_time[3][1], 578.425138304151, 1e-9);
  EXPECT_EQ(t->est_time[1][1], 10.0);
  EXPECT_EQ(t->overall_mst1, 15.0);
  EXPECT_EQ(t->overall_mst2, 30.0);
  EXPECT_NEAR(t->overall_imst, 202.808379434717, 1e-9);  // (10 + 20 + 578.43) / 3
  EXPECT_EQ(t->tested_position_count, 1);
}

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
  build(*t);

  EXPECT_EQ(t->invalid_count, 2);
  EXPECT_EQ(t->match_count, 2);
  EXPECT_EQ(t->complete_count, 1);
  EXPECT_EQ(t->match_wins[1], 1);
  EXPECT_EQ(t->match_draws[1], 1);
  EXPECT_EQ(t->match_losses[1], 0);
  EXPECT_EQ(t->match_wins[2], 0);
  EXPECT_EQ(t->match_draws[2], 1);
  EXPECT_EQ(t->match_losses[2], 1);
  EXPECT_EQ(t->pair_games[1][2], 2);
  EXPECT_EQ(t->pair_games[2][1], 2);
  // At its own limit the failure's estimate scores 1/(1 + 1/3) for the
  // solver; plus the draw.
  EXPECT_NEAR(t->pair_score[1][2], 1.25, 1e-12);
  EXPECT_NEAR(t->pair_score[2][1], 0.75, 1e-12);
  for (int p = 3; p <= 4; ++p) {
    EXPECT_EQ(t->match_total[p], 0);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(t->pair_games[p][r] + t->pair_games[r][p], 0);
  }

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

constexpr int MAX_SUITE_PROGRAMS = 12;
constexpr int MAX_SUITE_POSITIONS = 15;

// Clears what a previous suite left in the corner of the tables that the
// suites use, so one Tables serves every seed.
void clear_corner(Tables& t) {
  for (int p = 0; p <= MAX_SUITE_PROGRAMS; ++p) {
    for (int q = 0; q <= MAX_SUITE_POSITIONS; ++q) {
      t.solve_time[p][q] = NOT_TESTED;
      t.est_time[p][q] = NOT_TESTED;
    }
    for (int r = 0; r <= MAX_SUITE_PROGRAMS; ++r) {
      t.pair_games[p][r] = 0;
      t.pair_score[p][r] = 0.0;
    }
    for (int c = 0; c <= 3; ++c) {
      t.trend_count[p][c] = 0;
      t.trend_sum[p][c] = 0.0;
    }
    t.match_total[p] = t.match_wins[p] = t.match_draws[p] = t.match_losses[p] = 0;
    t.time_offset[p] = 0.0;
    t.offset_sample_count[p] = 0;
  }
  for (int q = 0; q <= MAX_SUITE_POSITIONS; ++q) {
    t.pos_mst1[q] = t.pos_mst2[q] = 0.0;
    t.difficulty_class[q] = 0;
  }
}

void fill_random_suite(Tables& t, std::mt19937& random) {
  auto below = [&random](int n) { return static_cast<int>(random() % n); };
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  const double common[] = {0.0, 0.3, 1.0, 2.0, 5.0, 10.0, 20.0, 60.0};
  t.program_count = 2 + below(MAX_SUITE_PROGRAMS - 1);
  t.position_count = 1 + below(MAX_SUITE_POSITIONS);
  for (int p = 1; p <= t.program_count; ++p) {
    if (below(2) == 0) {
      t.offset_sample_count[p] = 1 + below(3);
      t.time_offset[p] = (uniform(random) * 9.0 - 3.0) * t.offset_sample_count[p];
    }
    for (int q = 1; q <= t.position_count; ++q) {
      int kind = below(20);
      double time = below(2) == 0 ? common[below(8)] : uniform(random) * 120.0;
      if (kind < 5) continue;  // untested
      t.solve_time[p][q] = kind < 14 ? time : -std::max(time, 1.0);
    }
  }
}

TEST(BuildMatches, BookkeepingHoldsOnRandomSuites) {
  auto t = std::make_unique<Tables>();
  long all_matches = 0, all_invalid = 0, all_draws = 0, all_uncomplete = 0;
  for (unsigned seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    clear_corner(*t);
    fill_random_suite(*t, random);
    build(*t);
    const int n = t->program_count, m = t->position_count;
    auto& time = t->solve_time;

    // The same pairs counted afresh from the normalised times.
    int invalid = 0, complete = 0, matches = 0, tested_positions = 0;
    int games[MAX_SUITE_PROGRAMS + 1][MAX_SUITE_PROGRAMS + 1] = {};
    int by_class[MAX_SUITE_PROGRAMS + 1][4] = {};
    for (int q = 1; q <= m; ++q) {
      bool tested = false;
      for (int p = 1; p <= n; ++p) {
        double a = time[p][q];
        if (a < -9999998.0) continue;
        tested = true;
        for (int r = p + 1; r <= n; ++r) {
          double b = time[r][q];
          if (b < -9999998.0) continue;
          bool valid = (a >= 0.0 && b >= 0.0) || (a < 0.0 && b >= 0.0 && b <= -a) ||
                       (b < 0.0 && a >= 0.0 && a <= -b);
          if (!valid) {
            ++invalid;
            continue;
          }
          ++matches;
          if (a >= 0.0 && b >= 0.0) ++complete;
          ++games[p][r];
          ++games[r][p];
          ++by_class[p][t->difficulty_class[q]];
          ++by_class[r][t->difficulty_class[q]];
        }
      }
      tested_positions += tested;
    }
    EXPECT_EQ(t->invalid_count, invalid);
    EXPECT_EQ(t->complete_count, complete);
    EXPECT_EQ(t->match_count, matches);
    EXPECT_EQ(t->tested_position_count, tested_positions);

    long total = 0;
    for (int p = 1; p <= n; ++p) {
      total += t->match_total[p];
      EXPECT_EQ(t->match_wins[p] + t->match_draws[p] + t->match_losses[p], t->match_total[p]);
      for (int c = 0; c <= 3; ++c) EXPECT_EQ(t->trend_count[p][c], by_class[p][c]) << p << " " << c;
      int pair_sum = 0;
      double score_sum = 0.0;
      for (int r = 1; r <= n; ++r) {
        EXPECT_EQ(t->pair_games[p][r], games[p][r]) << p << " " << r;
        EXPECT_EQ(t->pair_games[p][r], t->pair_games[r][p]);
        EXPECT_NEAR(t->pair_score[p][r] + t->pair_score[r][p], t->pair_games[p][r], 1e-9);
        pair_sum += t->pair_games[p][r];
        score_sum += t->pair_score[p][r];
      }
      EXPECT_EQ(pair_sum, t->match_total[p]);
      EXPECT_NEAR(t->trend_sum[p][1] + t->trend_sum[p][2] + t->trend_sum[p][3], score_sum, 1e-9);
      all_draws += t->match_draws[p];

      for (int q = 1; q <= m; ++q) {
        double a = time[p][q], e = t->est_time[p][q];
        if (a < -9999998.0)
          EXPECT_LT(e, -9999998.0);
        else if (a >= 0.0)
          EXPECT_EQ(e, a);
        else if (t->pos_mst1[q] >= 0.0)
          EXPECT_GT(e, ESTIMATE_FACTOR * -a);
        else
          EXPECT_EQ(e, a);
      }
    }
    EXPECT_EQ(total, 2L * t->match_count);
    all_matches += matches;
    all_invalid += invalid;
    all_uncomplete += matches - complete;
  }
  // The generator must reach every kind of pair for the checks to mean much.
  EXPECT_GT(all_matches, 1000);
  EXPECT_GT(all_invalid, 100);
  EXPECT_GT(all_draws, 50);
  EXPECT_GT(all_uncomplete, 100);
}

}  // namespace
}  // namespace tarvolin
