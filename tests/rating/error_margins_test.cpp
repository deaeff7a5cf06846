#include "rating/error_margins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/rating_fixtures.h"

namespace tarvolin::testing {
namespace {

// Margins of programs 1..3 from raw times per program (negative: failed),
// through every phase that leads to them.
std::unique_ptr<Tables> rated(const std::vector<std::vector<double>>& times) {
  auto t = tables_with_programs(3);
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

TEST(ErrorMargins, WorkedValues) {
  // Mirror-image results get different margins.
  auto mirror = rated({{10, 20}, {20, 20}});
  EXPECT_NEAR(mirror->score_rate[1], 0.5357316, 1e-7);
  EXPECT_NEAR(mirror->elo_margin[1], 50.789009, 1e-6);
  EXPECT_NEAR(mirror->elo_margin[2], 49.742454, 1e-6);

  // Position 1: program 1 fails within 60 s against solves in 10 s and 30 s.
  // The failure enters the deviations with its limit, time_score(-60, 10) =
  // 0.161064 and time_score(-60, 30) = 0.214268, not with its estimated time
  // (about 618 s), which would give 145.472660 and 162.073317.
  auto failing = rated({{-60, 20}, {10, 40}, {30, 20}});
  EXPECT_NEAR(failing->score_rate[1], 0.3614856928, 1e-9);
  EXPECT_NEAR(failing->elo_margin[1], 144.755060, 1e-6);
  EXPECT_NEAR(failing->elo_margin[2], 158.405318, 1e-6);
}

TEST(ErrorMargins, NoSpreadOrNoRoomGivesZero) {
  struct Case {
    std::vector<std::vector<double>> times;
    double rate_above;  // the first program's score must exceed it
  };
  const Case cases[] = {
      {{{10}, {30}}, 0.5},          // a single match
      {{{10, 15}, {20, 30}}, 0.5},  // every match with the same score
      // Program 1 scores above 0.990099 with spread; program 2 stays below
      // 0.009901 even when raised (0.005771 + 2 * 0.000482); program 3 took
      // no part.
      {{{1, 1}, {200000, 300000}}, 0.990099},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate_above);
    auto t = rated(c.times);
    EXPECT_GT(t->score_rate[1], c.rate_above);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t->elo_margin[p], 0.0) << p;
  }
}

}  // namespace
}  // namespace tarvolin::testing
