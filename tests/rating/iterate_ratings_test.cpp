#include "rating/iterate_ratings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "rating/rating_fixtures.h"
#include "rating/score_to_elo.h"

namespace tarvolin::testing {
namespace {

TEST(ScoreToElo, InnerValuesAndClampsOutsideTheDecimalBoundsOnly) {
  struct Row {
    double score, elo;
  };
  // The bounds 0.009901 and 0.990099 themselves go through the formula; the
  // clamp already holds between them and 1/101, 100/101.
  // clang-format off
  const Row rows[] = {{0.5, 0.0}, {0.25, -190.8485018878650}, {0.75, 190.8485018878650},
                      {0.9, 381.6970037757300}, {0.009901, -799.9998245451161},
                      {0.990099, 799.9998245451152}, {0.0099, -800.0}, {0.9901, 800.0},
                      {0.009900995, -800.0}, {0.990099005, 800.0}, {-1.0, -800.0}, {0.0, -800.0},
                      {1.0, 800.0}, {2.0, 800.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}};
  // clang-format on
  for (const Row& row : rows) EXPECT_NEAR(score_to_elo(row.score), row.elo, 1e-10) << row.score;
}

// Mean of the ratings weighted by match counts: the base once settled.
double weighted_mean_elo(const Tables& t) {
  double weighted = 0.0, matches = 0.0;
  for (int p = 1; p <= t.program_count; ++p) {
    weighted += t.match_total[p] * t.elo[p];
    matches += t.match_total[p];
  }
  return weighted / matches;
}

TEST(IterateRatings, WorkedExamplesAndTheirIterationCounts) {
  // 2400 +- 400*log10(3)/2 after one step
  auto pair = tables_with_programs(2);
  add_matches(*pair, 1, 2, 4, 3.0);
  find_clusters(*pair);
  EXPECT_EQ(iterate_ratings(*pair), 2);
  EXPECT_NEAR(pair->elo[1], 2495.4242509, 1e-7);
  EXPECT_NEAR(pair->elo[2], 2304.5757491, 1e-7);
  EXPECT_NEAR(pair->avg_opponent_elo[1], pair->elo[2], 1e-9);

  auto chain = tables_with_programs(3);
  add_matches(*chain, 1, 2, 10, 7.5);
  add_matches(*chain, 2, 3, 10, 5.0);
  find_clusters(*chain);
  EXPECT_EQ(iterate_ratings(*chain), 17);
  const double elo[] = {2541.4645, 2353.9591, 2350.6174};
  const double opponents[] = {2353.9591, 2446.0409, 2353.9591};
  for (int p = 1; p <= 3; ++p) {
    EXPECT_NEAR(chain->elo[p], elo[p - 1], 5e-5) << p;
    EXPECT_NEAR(chain->avg_opponent_elo[p], opponents[p - 1], 5e-5) << p;
  }

  // Even scores stay at the base; no matches leave every rating at zero.
  auto even = tables_with_programs(3);
  add_matches(*even, 1, 2, 4, 2.0);
  add_matches(*even, 2, 3, 6, 3.0);
  add_matches(*even, 1, 3, 2, 1.0);
  find_clusters(*even);
  EXPECT_EQ(iterate_ratings(*even), 1);
  auto none = tables_with_programs(3);
  find_clusters(*none);
  EXPECT_EQ(iterate_ratings(*none), 1);
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(even->elo[p], ELO_BASE) << p;
    EXPECT_EQ(none->elo[p], 0.0);
    EXPECT_EQ(none->avg_opponent_elo[p], 0.0);
  }
}

TEST(IterateRatings, WeaklyLinkedChainsSettleSlowlyOrNotAtAll) {
  for (auto [length, iterations] : {std::pair{10, 294}, std::pair{16, 771}, std::pair{20, 1001}}) {
    auto t = chain_of_programs(length);
    find_clusters(*t);
    EXPECT_EQ(iterate_ratings(*t), iterations) << length;
    EXPECT_NEAR(weighted_mean_elo(*t), ELO_BASE, 1e-6) << length;
  }
}

}  // namespace
}  // namespace tarvolin::testing
