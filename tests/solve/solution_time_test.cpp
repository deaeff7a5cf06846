#include "solve/solution_time.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tarvolin::solve {
namespace {

TEST(SolutionTime, ReadsOnlyTheFirstPv) {
  // Line, its first move ("-": no PV to count), its time (-1: none given).
  const std::tuple<const char*, const char*, long long> cases[] = {
      {"info depth 12 seldepth 20 time 345 nodes 99 pv e2e4 e7e5", "e2e4", 345},
      {"info depth 12 multipv 1 score cp 20 pv d2d4", "d2d4", -1},
      {"info depth 3 score cp 17", "-", -1},
      {"info depth 3 time 4 pv", "-", -1},
  };
  for (const auto& [line, move, time] : cases) {
    PvReport pv = read_pv_line(line, 7.0).value_or(PvReport{"-", std::nullopt, std::nullopt, 7.0});
    EXPECT_EQ(pv.first_move, move) << line;
    EXPECT_EQ(pv.time_ms.value_or(-1), time) << line;
    EXPECT_EQ(pv.wall_ms, 7.0) << line;
  }
  EXPECT_FALSE(read_bestmove("info bestmove g1f3"));
}

TEST(SolutionTime, EarliestPvFromWhichEverythingIsRight) {
  // "ok" is the only right move; the best move arrives at 900 ms.
  auto pv = [](const char* move, long long time, double wall) {
    return PvReport{move, std::nullopt, time >= 0 ? std::optional<long long>(time) : std::nullopt,
                    wall};
  };
  using Case = std::tuple<const char*, std::vector<PvReport>, const char*, std::optional<double>>;
  const Case cases[] = {
      {"found late", {pv("no", 100, 110), pv("ok", 200, 210), pv("ok", 400, 410)}, "ok", 0.2},
      {"found twice", {pv("ok", 100, 110), pv("no", 300, 310), pv("ok", 500, 510)}, "ok", 0.5},
      {"no time: wall clock", {pv("no", -1, 120), pv("ok", -1, 250)}, "ok", 0.25},
      {"no PV: the move's arrival", {}, "ok", 0.9},
      {"last PV wrong, move right", {pv("ok", 100, 110), pv("no", 200, 210)}, "ok", 0.9},
  };
  for (const auto& [name, pvs, bestmove, seconds] : cases) {
    auto right = [](std::string_view move) { return move == "ok"; };
    std::optional<double> got = solution_seconds(pvs, bestmove, 900.0, right);
    EXPECT_DOUBLE_EQ(got.value_or(-1), seconds.value_or(-1)) << name;  // -1: no solution
  }
}

}  // namespace
}  // namespace tarvolin::solve
