#include <gtest/gtest.h>

#include <algorithm>
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

// Fresh tables with programs 1..count named "Prog1", "Prog2", ..., and
// {a, b, games, points of a} matches entered.
std::unique_ptr<Tables> with_matches(int count, const std::vector<std::vector<double>>& rows) {
  auto t = std::make_unique<Tables>();
  t->program_count = t->frozen_program_count = count;
  for (int p = 1; p <= count; ++p)
    t->program_name[p] = std::string("Prog").append(std::to_string(p));
  for (const std::vector<double>& r : rows) {
    const int a = static_cast<int>(r[0]), b = static_cast<int>(r[1]),
              games = static_cast<int>(r[2]);
    t->match_total[a] += games, t->match_total[b] += games;
    t->pair_games[a][b] += games, t->pair_games[b][a] += games;
    t->pair_score[a][b] += r[3], t->pair_score[b][a] += games - r[3];
  }
  return t;
}

TEST(Clusters, ChainExampleAndItsReport) {
  testing::ScratchDir dir;
  auto t = with_matches(4, {{1, 2, 10, 7.5}, {2, 3, 10, 5.0}});
  t->program_name[2] = "AVeryLongProgramNameThatRunsPastFortyCharacters";  // stays whole
  EXPECT_EQ(find_clusters(*t), 1);
  EXPECT_EQ(t->cluster_size[1], 3);
  EXPECT_EQ(t->cluster_id[4], 0);  // no matches, no cluster
  EXPECT_DOUBLE_EQ(t->score_rate[1], 0.75);
  EXPECT_DOUBLE_EQ(t->score_rate[2], 0.375);
  EXPECT_DOUBLE_EQ(t->score_rate[3], 0.5);
  // (400*log10(3)*10 + 400*log10(0.6)*20) / 40
  EXPECT_NEAR(t->itoffset[1], 3.3423755487, 1e-9);
  EXPECT_FALSE(dir.exists("cluster.dat"));  // finding them writes nothing
  EXPECT_TRUE(write_cluster_report(*t, stdout));
  // The layout is in the worked end-to-end cases: here the long name and the offset.
  const std::string report = dir.read("cluster.dat");
  EXPECT_NE(report.find("\n" + t->program_name[2] + " (2)\nProg3 "), std::string::npos) << report;
  EXPECT_NE(report.find("\n\n3 programs, 20 matches\n\nitoffset = 3.342376\n"), std::string::npos);
  auto none = with_matches(3, {});
  EXPECT_EQ(find_clusters(*none), 0);
  EXPECT_TRUE(write_cluster_report(*none, stdout));
  EXPECT_EQ(dir.read("cluster.dat"), "");
}

// Margins of programs 1..3 from raw times per program (negative: failed),
// through every phase that leads to them.
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
  EXPECT_NEAR(mirror->score_rate[1], 0.5357316, 1e-7);
  EXPECT_NEAR(mirror->elo_margin[1], 50.789009, 1e-6);
  EXPECT_NEAR(mirror->elo_margin[2], 49.742454, 1e-6);
  // Program 1 fails within 60 s against solves in 10 s and 30 s: the failure
  // enters the deviations with its limit, time_score(-60, 10) = 0.161064, not
  // with its estimate (about 618 s), which would give 145.472660 and 162.073317.
  auto failing = rated({{-60, 20}, {10, 40}, {30, 20}});
  EXPECT_NEAR(failing->elo_margin[1], 144.755060, 1e-6);
  EXPECT_NEAR(failing->elo_margin[2], 158.405318, 1e-6);

  // A single match; every match with the same score; program 1 above 0.990099
  // with spread while program 2 stays below 0.009901 even when raised
  // (0.005771 + 2 * 0.000482) and program 3 took no part.
  const std::pair<std::vector<std::vector<double>>, double> cases[] = {
      {{{10}, {30}}, 0.5}, {{{10, 15}, {20, 30}}, 0.5}, {{{1, 1}, {200000, 300000}}, 0.990099}};
  for (const auto& [times, rate_above] : cases) {
    auto t = rated(times);
    EXPECT_GT(t->score_rate[1], rate_above);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t->elo_margin[p], 0.0) << rate_above << " " << p;
  }
}

// The bounds 0.009901 and 0.990099 themselves go through the formula; the
// clamp already holds between them and 1/101, 100/101.
TEST(ScoreToElo, InnerValuesAndClampsOutsideTheDecimalBoundsOnly) {
  // clang-format off
  const double rows[][2] = {{0.5, 0.0}, {0.25, -190.8485018878650}, {0.9, 381.6970037757300},
      {0.009901, -799.9998245451161}, {0.990099, 799.9998245451152}, {0.009900995, -800.0},
      {0.990099005, 800.0}, {-1.0, -800.0}, {2.0, 800.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}};
  // clang-format on
  for (const auto& row : rows) EXPECT_NEAR(score_to_elo(row[0]), row[1], 1e-10) << row[0];
}

TEST(IterateRatings, WorkedExamplesAndTheirIterationCounts) {
  // 2400 +- 400*log10(3)/2 after one step
  auto pair = with_matches(2, {{1, 2, 4, 3.0}});
  find_clusters(*pair);
  EXPECT_EQ(iterate_ratings(*pair), 2);
  EXPECT_NEAR(pair->elo[1], 2495.4242509, 1e-7);
  EXPECT_NEAR(pair->elo[2], 2304.5757491, 1e-7);
  auto chain = with_matches(3, {{1, 2, 10, 7.5}, {2, 3, 10, 5.0}});
  find_clusters(*chain);
  EXPECT_EQ(iterate_ratings(*chain), 17);
  const double elo[] = {2541.4645, 2353.9591, 2350.6174};
  const double opponents[] = {2353.9591, 2446.0409, 2353.9591};
  for (int p = 1; p <= 3; ++p) {
    EXPECT_NEAR(chain->elo[p], elo[p - 1], 5e-5) << p;
    EXPECT_NEAR(chain->avg_opponent_elo[p], opponents[p - 1], 5e-5) << p;
  }
  // Even scores stay at the base; no matches leave every rating at zero.
  auto even = with_matches(3, {{1, 2, 4, 2.0}, {2, 3, 6, 3.0}, {1, 3, 2, 1.0}});
  auto none = with_matches(3, {});
  find_clusters(*even), find_clusters(*none);
  EXPECT_EQ(iterate_ratings(*even), 1);
  EXPECT_EQ(iterate_ratings(*none), 1);
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(even->elo[p], ELO_BASE) << p;
    EXPECT_EQ(none->elo[p] + none->avg_opponent_elo[p], 0.0) << p;
  }
  // Weakly linked chains, each program meeting its neighbours only, settle
  // slowly or not at all.
  for (auto [length, iterations] : {std::pair{10, 294}, std::pair{20, 1001}}) {
    std::vector<std::vector<double>> chain_rows;
    for (int p = 1; p < length; ++p) chain_rows.push_back({1.0 * p, p + 1.0, 10, 6.0});
    auto t = with_matches(length, chain_rows);
    find_clusters(*t);
    EXPECT_EQ(iterate_ratings(*t), iterations) << length;
  }
}

}  // namespace
}  // namespace tarvolin
