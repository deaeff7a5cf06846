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

TEST(SolutionTime, ReadsTheMateAScoreProves) {
  // Line, the mate it proves (0: none); each line's PV starts e2e4.
  const std::pair<const char*, int> cases[] = {
      {"info depth 5 score mate 3 nodes 10 pv e2e4 e7e5", 3},
      {"info score mate -2 pv e2e4", -2},
      {"info score cp 250 pv e2e4", 0},
      {"info score mate 3 lowerbound pv e2e4", 3},  // at least mate in 3: mate in 3 or less
      {"info score mate 3 upperbound pv e2e4", 0},  // at most mate in 3: maybe none
      {"info score mate -2 upperbound pv e2e4", -2},
      {"info score mate -2 lowerbound pv e2e4", 0},
      {"info score mate 99999999999 pv e2e4", 0},
      {"info score mate pv e2e4", 0},
      {"info score pv e2e4", 0},
  };
  for (const auto& [line, mate] : cases) {
    std::optional<PvReport> pv = read_pv_line(line, 0);
    ASSERT_TRUE(pv) << line;
    EXPECT_EQ(pv->first_move, "e2e4") << line;
    EXPECT_EQ(pv->mate.value_or(0), mate) << line;
  }
}

TEST(SolutionTime, MateInTwoHeldFromTheFirstLineThatShowsIt) {
  // The info lines of one search (PV "ok" or "no"), its best move, and the
  // seconds until the mate in 2 was solved (-1: not solved). "ok" is the
  // only right move, as if the suite also gave bm.
  using Case = std::tuple<const char*, std::vector<const char*>, const char*, double>;
  const Case cases[] = {
      {"a longer mate first",
       {"info time 100 score cp 300 pv ok", "info time 200 score mate 3 pv ok",
        "info time 400 score mate 2 pv ok", "info time 600 score mate 1 pv ok"},
       "ok",
       0.4},
      {"found, then lost",
       {"info time 100 score mate 2 pv ok", "info time 300 score cp 900 pv ok"},
       "ok",
       -1},
      {"lost, then found again",
       {"info time 100 score mate 2 pv ok", "info time 300 score cp 900 pv ok",
        "info time 500 score mate 2 pv ok"},
       "ok",
       0.5},
      {"only longer mates",
       {"info time 100 score mate 3 pv ok", "info time 200 score mate 4 pv ok"},
       "ok",
       -1},
      {"mated", {"info time 100 score mate -2 pv ok"}, "ok", -1},
      {"no PV", {}, "ok", -1},
      {"a line without a score",
       {"info time 100 score mate 2 pv ok", "info time 200 pv ok"},
       "ok",
       -1},
      {"the mate with a wrong move",
       {"info time 100 score mate 2 pv no", "info time 300 score mate 2 pv ok"},
       "ok",
       0.3},
      {"the wrong move at the end", {"info time 100 score mate 2 pv ok"}, "no", -1},
      {"a lower bound proves it",
       {"info time 100 score mate 2 lowerbound pv ok", "info time 200 score mate 2 pv ok"},
       "ok",
       0.1},
      {"an upper bound does not",
       {"info time 100 score mate 2 pv ok", "info time 200 score mate 1 upperbound pv ok",
        "info time 300 score mate 2 pv ok"},
       "ok",
       0.3},
  };
  for (const auto& [name, lines, bestmove, seconds] : cases) {
    std::vector<PvReport> pvs;
    for (const char* line : lines) pvs.push_back(read_pv_line(line, 0).value());
    auto right = [](std::string_view move) { return move == "ok"; };
    std::optional<double> got = solution_seconds(pvs, bestmove, 900.0, right, 2);
    EXPECT_DOUBLE_EQ(got.value_or(-1), seconds) << name;
  }
}

}  // namespace
}  // namespace tarvolin::solve
