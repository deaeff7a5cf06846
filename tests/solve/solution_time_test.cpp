#include "solve/solution_time.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
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

TEST(SolutionTime, MateInTwoHeldFromTheFirstLineThatShowsIt) {
  // One search's PVs as "time score... move", its best move, and the seconds
  // until the mate in 2 was solved (-1: not). Only "ok" is right, as with bm.
  const std::tuple<std::string, const char*, double> cases[] = {
      {"100 cp 300 ok|200 mate 3 ok|400 mate 2 ok|600 mate 1 ok", "ok", 0.4},
      {"100 mate 2 ok|300 cp 900 ok", "ok", -1},  // lost
      {"100 mate -2 ok", "ok", -1},               // mated
      {"", "ok", -1},
      {"100 mate 2 no|300 mate 2 ok", "ok", 0.3},
      {"100 mate 2 ok", "no", -1},
      {"100 mate 2 lowerbound ok|200 mate 2 ok", "ok", 0.1},  // mate in 2 or fewer
      {"100 mate 2 ok|200 mate 1 upperbound ok|300 mate 2 ok", "ok", 0.3},
      {"100 mate 2 ok|200 mate ok|300 mate 2 ok", "ok", 0.3},  // still a PV, without a score
  };
  for (const auto& [search, bestmove, seconds] : cases) {
    std::vector<PvReport> pvs;
    std::istringstream in(search);
    for (std::string pv; std::getline(in, pv, '|');) {
      std::size_t time_end = pv.find(' '), move_at = pv.rfind(' ');
      pvs.push_back(read_pv_line("info time " + pv.substr(0, time_end) + " score" +
                                     pv.substr(time_end, move_at - time_end) + " pv" +
                                     pv.substr(move_at),
                                 0)
                        .value());
    }
    auto right = [](std::string_view move) { return move == "ok"; };
    EXPECT_DOUBLE_EQ(solution_seconds(pvs, bestmove, 900.0, right, 2).value_or(-1), seconds)
        << search;
  }
}

TEST(SolutionTime, SettledOnceTheRightRunHeldLongEnough) {
  // PVs as "time/wall move" (time -: none given), the mate the key move
  // needs (0: none), now in wall ms; the hold is 1000 ms of engine time.
  using Case = std::tuple<const char*, int, double, bool>;
  const Case cases[] = {
      {"100/110 ok|1300/1310 ok", 0, 1310, true},
      {"200/210 ok|900/910 ok", 0, 1100, false},             // engine time 1090: held 890
      {"200/210 ok|900/910 ok", 0, 1250, true},              // silence counts as held
      {"100/100 ok|600/600 no|800/800 ok", 0, 1500, false},  // held since 800 only
      {"100/100 no", 0, 5000, false},                        // a wrong move never settles
      {"-/300 ok", 0, 1300, true},                           // no time: wall clock
      {"-/300 ok", 0, 1299, false},
      {"2500/5 ok", 0, 6, false},  // the engine's own clock, ahead of ours
      {"", 0, 9000, false},
      {"100/100 ok mate 2|200/200 ok", 2, 3000, false},  // the mate was lost
      {"100/100 ok|500/500 ok mate 2", 2, 1500, true},
      {"100/100 ok|500/500 ok mate 2", 2, 1400, false},
      {"500/500 ok mate 3", 2, 3000, false},  // too slow a mate
  };
  for (const auto& [search, mate_in, now, expected] : cases) {
    std::vector<PvReport> pvs;
    std::istringstream in(search);
    for (std::string pv; std::getline(in, pv, '|');) {
      std::size_t slash = pv.find('/'), blank = pv.find(' ');
      std::string time = pv.substr(0, slash), rest = pv.substr(blank + 1);
      std::string move = rest.substr(0, rest.find(' '));
      std::string score = rest.size() > move.size() ? " score" + rest.substr(move.size()) : "";
      double wall = std::stod(pv.substr(slash + 1, blank - slash - 1));
      pvs.push_back(
          read_pv_line("info" + (time == "-" ? "" : " time " + time) + score + " pv " + move, wall)
              .value());
    }
    auto right = [](std::string_view move) { return move == "ok"; };
    EXPECT_EQ(settled(pvs, now, 1000, right, mate_in), expected) << search << " at " << now;
  }
}

}  // namespace
}  // namespace tarvolin::solve
