#include "rating/iterate_ratings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "rating/rating_fixtures.h"
#include "rating/score_to_elo.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// Sum of match_total * elo over a cluster divided by its match sum.
double weighted_mean_elo(const Tables& t, int cluster) {
  double weighted = 0.0, matches = 0.0;
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.cluster_id[p] != cluster) continue;
    weighted += t.match_total[p] * t.elo[p];
    matches += t.match_total[p];
  }
  return weighted / matches;
}

// At the fixed point each rating is its performance against its opponents.
void expect_at_performance(const Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.match_total[p] == 0) continue;
    double target =
        t.avg_opponent_elo[p] + score_to_elo(t.score_rate[p]) - t.itoffset[t.cluster_id[p]];
    EXPECT_LE(std::fabs(t.elo[p] - target), 0.001) << "program " << p;
  }
}

TEST(IterateRatings, TwoProgramsSettleAfterOneStep) {
  ScratchDir dir;
  auto t = tables_with_programs(2);
  add_matches(*t, 1, 2, 4, 3.0);
  prepare_clusters(*t);
  EXPECT_EQ(iterate_ratings(*t), 2);
  // 2400 +- 400*log10(3)/2
  EXPECT_NEAR(t->elo[1], 2495.4242509, 1e-7);
  EXPECT_NEAR(t->elo[2], 2304.5757491, 1e-7);
  EXPECT_NEAR(t->avg_opponent_elo[1], t->elo[2], 1e-9);
}

TEST(IterateRatings, ThreeProgramChainExample) {
  ScratchDir dir;
  auto t = tables_with_programs(3);
  add_matches(*t, 1, 2, 10, 7.5);
  add_matches(*t, 2, 3, 10, 5.0);
  prepare_clusters(*t);
  EXPECT_EQ(iterate_ratings(*t), 17);
  EXPECT_NEAR(t->elo[1], 2541.4645, 5e-5);
  EXPECT_NEAR(t->elo[2], 2353.9591, 5e-5);
  EXPECT_NEAR(t->elo[3], 2350.6174, 5e-5);
  EXPECT_NEAR(t->avg_opponent_elo[1], 2353.9591, 5e-5);
  EXPECT_NEAR(t->avg_opponent_elo[2], 2446.0409, 5e-5);
  EXPECT_NEAR(t->avg_opponent_elo[3], 2353.9591, 5e-5);
  EXPECT_NEAR(weighted_mean_elo(*t, 1), ELO_BASE, 1e-6);
  expect_at_performance(*t);
}

TEST(IterateRatings, EvenScoresStayAtBaseAndNoMatchesLeaveZero) {
  {
    ScratchDir dir;
    auto t = tables_with_programs(3);
    add_matches(*t, 1, 2, 4, 2.0);
    add_matches(*t, 2, 3, 6, 3.0);
    add_matches(*t, 1, 3, 2, 1.0);
    prepare_clusters(*t);
    EXPECT_EQ(iterate_ratings(*t), 1);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t->elo[p], ELO_BASE) << p;
  }
  {
    ScratchDir dir;
    auto t = tables_with_programs(3);
    prepare_clusters(*t);
    EXPECT_EQ(iterate_ratings(*t), 1);
    for (int p = 1; p <= 3; ++p) {
      EXPECT_EQ(t->elo[p], 0.0);
      EXPECT_EQ(t->avg_opponent_elo[p], 0.0);
    }
  }
}

TEST(IterateRatings, WeaklyLinkedChainsSettleSlowlyOrNotAtAll) {
  struct Case {
    int length, iterations;
  };
  for (Case c : {Case{10, 294}, Case{16, 771}, Case{20, 1001}}) {
    SCOPED_TRACE(c.length);
    ScratchDir dir;
    auto t = chain_of_programs(c.length);
    prepare_clusters(*t);
    int32_t count = iterate_ratings(*t);
    EXPECT_EQ(count, c.iterations);
    EXPECT_NEAR(weighted_mean_elo(*t, 1), ELO_BASE, 1e-6);
    if (count < ITERATION_FAILURE_COUNT) expect_at_performance(*t);
  }
}

}  // namespace
}  // namespace tarvolin::testing
