#include "rating/error_margins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/rating_fixtures.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// Raw times for one program, position by position (negative: failed).
void set_times(Tables& t, int program, const std::vector<double>& times) {
  int q = 0;
  for (double time : times) t.solve_time[program][++q] = time;
  if (q > t.position_count) t.position_count = q;
}

// Everything from the raw times up to the margins, as the run does it.
void rate_from_times(Tables& t) {
  normalise_times(t);
  build_matches(t);
  prepare_clusters(t);
  compute_error_margins(t);
}

TEST(ErrorMargins, MirrorImageResultsGetDifferentMargins) {
  ScratchDir dir;
  auto t = tables_with_programs(2);
  set_times(*t, 1, {10, 20});
  set_times(*t, 2, {20, 20});
  rate_from_times(*t);
  EXPECT_NEAR(t->score_rate[1], 0.5357316, 1e-7);
  EXPECT_NEAR(t->score_rate[2], 0.4642684, 1e-7);
  EXPECT_NEAR(t->elo_margin[1], 50.789009, 1e-6);
  EXPECT_NEAR(t->elo_margin[2], 49.742454, 1e-6);
}

TEST(ErrorMargins, NoSpreadOrNoRoomGivesZero) {
  struct Case {
    std::vector<double> first, second;
    double rate_above;  // the first program's score must exceed it
  };
  const Case cases[] = {
      {{10}, {30}, 0.5},          // a single match
      {{10, 15}, {20, 30}, 0.5},  // every match with the same score
      // Program 1 scores above 0.990099 with spread; program 2 stays below
      // 0.009901 even when raised (0.005771 + 2 * 0.000482); program 3 took
      // no part.
      {{1, 1}, {200000, 300000}, 0.990099},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(*c.second.begin());
    ScratchDir dir;
    auto t = tables_with_programs(3);
    set_times(*t, 1, c.first);
    set_times(*t, 2, c.second);
    rate_from_times(*t);
    EXPECT_GT(t->score_rate[1], c.rate_above);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t->elo_margin[p], 0.0) << p;
  }
}

TEST(ErrorMargins, FailuresCountWithTheirRecordedLimits) {
  // Position 1: program 1 fails within 60 s, programs 2 and 3 solve in 10 s
  // and 30 s, so its estimated time (about 618 s, from a mean of 20 s) does
  // not score against either solver as the failure itself does.
  ScratchDir dir;
  auto t = tables_with_programs(3);
  set_times(*t, 1, {-60, 20});
  set_times(*t, 2, {10, 40});
  set_times(*t, 3, {30, 20});
  rate_from_times(*t);
  // python3: mean of the estimate-based match scores of program 1
  EXPECT_NEAR(t->score_rate[1], 0.3614856928, 1e-9);
  // python3: deviations of time_score(-60,10) = 0.161064, time_score(20,40),
  // time_score(-60,30) = 0.214268 and 0.5 from that rate; sqrt(sum / 12) =
  // 0.102110 as stderr. From the estimated times the margin would be
  // 145.472660.
  EXPECT_NEAR(t->elo_margin[1], 144.755060, 1e-6);
  // Program 2's failing opponent also enters with its limit: 158.405318
  // (162.073317 from the estimate).
  EXPECT_NEAR(t->elo_margin[2], 158.405318, 1e-6);
  for (int p = 1; p <= 3; ++p) EXPECT_GE(t->elo_margin[p], 0.0);
}

}  // namespace
}  // namespace tarvolin::testing
