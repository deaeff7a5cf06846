#include "solve/solution_time.h"

#include <gtest/gtest.h>

namespace tarvolin::solve {
namespace {

TEST(SolutionTime, ReadsOnlyTheFirstPv) {
  struct Case {
    const char* line;
    const char* move;  // nullptr: no PV to count
    long long time;    // -1: none given
  };
  const Case cases[] = {
      {"info depth 12 seldepth 20 time 345 nodes 99 pv e2e4 e7e5", "e2e4", 345},
      {"info depth 12 multipv 1 score cp 20 pv d2d4", "d2d4", -1},
      {"info depth 12 multipv 2 time 5 pv d2d4", nullptr, 0},
      {"info string pv e2e4", nullptr, 0},
      {"info depth 3 score cp 17", nullptr, 0},
      {"info depth 3 time 4 pv", nullptr, 0},
      {"bestmove e2e4", nullptr, 0},
      {"", nullptr, 0},
  };
  for (const Case& c : cases) {
    std::optional<PvReport> pv = read_pv_line(c.line, 7.0);
    ASSERT_EQ(pv.has_value(), c.move != nullptr) << c.line;
    if (!pv) continue;
    EXPECT_EQ(pv->first_move, c.move);
    EXPECT_EQ(pv->time_ms.value_or(-1), c.time);
    EXPECT_EQ(pv->wall_ms, 7.0);
  }
  EXPECT_EQ(read_bestmove("bestmove g1f3 ponder g8f6").value_or(""), "g1f3");
  EXPECT_FALSE(read_bestmove("info bestmove g1f3"));
}

TEST(SolutionTime, EarliestPvFromWhichEverythingIsRight) {
  auto pv = [](const char* move, long long time, double wall) {
    PvReport report{move, time >= 0 ? std::optional<long long>(time) : std::nullopt, wall};
    return report;
  };
  auto right = [](std::string_view move) { return move == "e2e4"; };
  struct Case {
    const char* name;
    std::vector<PvReport> pvs;
    const char* bestmove;
    std::optional<double> seconds;
  };
  const Case cases[] = {
      {"found late",
       {pv("d2d4", 100, 110), pv("e2e4", 200, 210), pv("e2e4", 400, 410)},
       "e2e4",
       0.2},
      {"found, lost, found again",
       {pv("e2e4", 100, 110), pv("d2d4", 300, 310), pv("e2e4", 500, 510)},
       "e2e4",
       0.5},
      {"right PV, wrong move", {pv("e2e4", 100, 110), pv("e2e4", 200, 210)}, "d2d4", {}},
      {"no time: wall clock", {pv("d2d4", -1, 120), pv("e2e4", -1, 250)}, "e2e4", 0.25},
      {"no PV: the move's arrival", {}, "e2e4", 0.9},
      {"last PV wrong, move right", {pv("e2e4", 100, 110), pv("d2d4", 200, 210)}, "e2e4", 0.9},
      {"no move at all", {pv("e2e4", 100, 110)}, "0000", {}},
  };
  for (const Case& c : cases) {
    std::optional<double> seconds = solution_seconds(c.pvs, c.bestmove, 900.0, right);
    ASSERT_EQ(seconds.has_value(), c.seconds.has_value()) << c.name;
    if (seconds) {
      EXPECT_DOUBLE_EQ(*seconds, *c.seconds) << c.name;
    }
  }
}

}  // namespace
}  // namespace tarvolin::solve
