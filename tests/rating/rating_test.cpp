#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "rating/score_to_elo.h"
#include "reports/cluster_report.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

// Programs "Prog1".."Prog<count>" with {a, b, games, points of a} matches, clustered.
std::unique_ptr<Tables> with_matches(int count, const std::vector<std::vector<double>>& rows) {
  auto t = std::make_unique<Tables>();
  t->program_count = t->frozen_program_count = count;
  for (int p = 1; p <= count; ++p)
    t->program_name[p] = std::string("Prog").append(std::to_string(p));
  for (const std::vector<double>& r : rows) {
    const int a = static_cast<int>(r[0]), b = static_cast<int>(r[1]);
    t->match_total[a] += r[2], t->match_total[b] += r[2];
    t->pair_games[a][b] += r[2], t->pair_games[b][a] += r[2];
    t->pair_score[a][b] += r[3], t->pair_score[b][a] += r[2] - r[3];
  }
  find_clusters(*t);
  return t;
}

TEST(Clusters, ChainExampleAndItsReport) {
  testing::ScratchDir dir;
  auto t = with_matches(4, {{1, 2, 10, 7.5}, {2, 3, 10, 5.0}});
  t->program_name[2] = "AVeryLongProgramNameThatRunsPastFortyCharacters";  // stays whole
  EXPECT_EQ(find_clusters(*t), 1);  // again: finding them twice changes nothing
  EXPECT_EQ((std::array{t->cluster_size[1], t->cluster_id[4]}), (std::array{3, 0}));
  EXPECT_NEAR(t->itoffset[1], 3.3423755487, 1e-9);  // (4000 log10 3 + 8000 log10 0.6) / 40
  EXPECT_FALSE(dir.exists("cluster.dat"));          // finding them writes nothing
  EXPECT_TRUE(write_cluster_report(*t, stdout));
  const std::string report = dir.read("cluster.dat");
  EXPECT_NE(report.find("\n" + t->program_name[2] + " (2)\nProg3 "), std::string::npos) << report;
  EXPECT_EQ(find_clusters(*with_matches(3, {})), 0);
}

// Margins of programs 1..3 from raw times per program (negative: failed).
std::unique_ptr<Tables> rated(const std::vector<std::vector<double>>& times) {
  auto t = with_matches(3, {});
  for (int p = 1; p <= static_cast<int>(times.size()); ++p) {
    int q = 0;
    for (double time : times[p - 1]) t->solve_time[p][++q] = time;
    t->position_count = std::max(t->position_count, q);
  }
  normalise_times(*t);
  build_matches(*t);
  find_clusters(*t);
  compute_error_margins(*t);
  return t;
}

TEST(ErrorMargins, WorkedValuesAndZeroWithoutSpreadOrRoom) {
  // Mirror-image results get different margins.
  auto mirror = rated({{10, 20}, {20, 20}});
  EXPECT_NEAR(mirror->elo_margin[1], 50.789009, 1e-6);
  EXPECT_NEAR(mirror->elo_margin[2], 49.742454, 1e-6);
  // A failure within 60 s enters the deviations with its limit (time_score(-60, 10) = 0.161064),
  // not with its estimate of about 618 s, which would give 145.472660 and 162.073317.
  auto failing = rated({{-60, 20}, {10, 40}, {30, 20}});
  EXPECT_NEAR(failing->elo_margin[1], 144.755060, 1e-6);
  EXPECT_NEAR(failing->elo_margin[2], 158.405318, 1e-6);
  // A single match; equal scores; program 1 above 0.990099 with spread while program 2 stays below
  // 0.009901 even when raised (0.005771 + 2 * 0.000482); program 3 took no part.
  const std::pair<std::vector<std::vector<double>>, double> cases[] = {
      {{{10}, {30}}, 0.5}, {{{10, 15}, {20, 30}}, 0.5}, {{{1, 1}, {200000, 300000}}, 0.990099}};
  for (const auto& [times, rate_above] : cases) {
    auto t = rated(times);
    EXPECT_GT(t->score_rate[1], rate_above);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t->elo_margin[p], 0.0) << rate_above << " " << p;
  }
}

// The bounds 0.009901 and 0.990099 go through the formula; only beyond them is it clamped.
TEST(ScoreToElo, InnerValuesAndClampsOutsideTheDecimalBoundsOnly) {
  // clang-format off
  const double rows[][2] = {{0.5, 0.0}, {0.25, -190.8485018878650}, {0.9, 381.6970037757300},
      {0.009901, -799.9998245451161}, {0.990099, 799.9998245451152}, {0.009900995, -800.0},
      {0.990099005, 800.0}, {-1.0, -800.0}, {2.0, 800.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}};
  // clang-format on
  for (const auto& row : rows) EXPECT_NEAR(score_to_elo(row[0]), row[1], 1e-10) << row[0];
}

TEST(IterateRatings, WorkedExamplesAndTheirIterationCounts) {
  auto chain = with_matches(3, {{1, 2, 10, 7.5}, {2, 3, 10, 5.0}});
  EXPECT_EQ(iterate_ratings(*chain), 17);
  const double elo[][2] = {{2541.4645, 2353.9591}, {2353.9591, 2446.0409}, {2350.6174, 2353.9591}};
  for (int p = 1; p <= 3; ++p) {
    EXPECT_NEAR(chain->elo[p], elo[p - 1][0], 5e-5) << p;
    EXPECT_NEAR(chain->avg_opponent_elo[p], elo[p - 1][1], 5e-5) << p;
  }
  // Even scores stay at the base; a weakly linked chain settles slowly or
  // stops at the cap.
  auto even = with_matches(3, {{1, 2, 4, 2.0}, {2, 3, 6, 3.0}, {1, 3, 2, 1.0}});
  EXPECT_EQ((std::array{1.0 * iterate_ratings(*even), even->elo[3]}), (std::array{1.0, ELO_BASE}));
  for (auto [length, iterations] : {std::pair{10, 294}, std::pair{20, 1001}}) {
    std::vector<std::vector<double>> rows;
    for (int p = 1; p < length; ++p) rows.push_back({1.0 * p, p + 1.0, 10, 6.0});
    EXPECT_EQ(iterate_ratings(*with_matches(length, rows)), iterations) << length;
  }
}

}  // namespace
}  // namespace tarvolin
