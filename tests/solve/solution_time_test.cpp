#include "solve/solution_time.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

namespace tarvolin::solve {
namespace {

// PVs as "time/wall move score..." joined by "|" (time "-": none given),
// each read from the info line an engine would send.
std::vector<PvReport> pvs_of(const std::string& search) {
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
  return pvs;
}

// Only "ok" is right, as with bm.
bool right(std::string_view move) { return move == "ok"; }

TEST(SolutionTime, ReadsOnlyTheFirstPv) {
  EXPECT_EQ(read_pv_line("info depth 12 multipv 1 score cp 20 pv d2d4 e7e5", 7)->first_move,
            "d2d4");
  for (const char* line : {"info depth 3 score cp 17", "info depth 3 time 4 pv"})
    EXPECT_FALSE(read_pv_line(line, 7)) << line;
  EXPECT_FALSE(read_bestmove("info bestmove g1f3"));
}

TEST(SolutionTime, EarliestPvFromWhichEverythingIsRight) {
  // One search, its best move, the mate the key move needs (0: none) and
  // the seconds until solved (-1: not); the best move arrives at 900 ms.
  const std::tuple<const char*, const char*, int, double> cases[] = {
      {"100/110 no|200/210 ok|400/410 ok", "ok", 0, 0.2},
      {"100/110 ok|300/310 no|500/510 ok", "ok", 0, 0.5},
      {"-/120 no|-/250 ok", "ok", 0, 0.25},  // no time: wall clock
      {"", "ok", 0, 0.9},                    // no PV: the move's arrival
      {"100/110 ok|200/210 no", "ok", 0, 0.9},
      {"100/0 ok cp 300|200/0 ok mate 3|400/0 ok mate 2|600/0 ok mate 1", "ok", 2, 0.4},
      {"100/0 ok mate 2|300/0 ok cp 900", "ok", 2, -1},  // lost
      {"100/0 ok mate -2", "ok", 2, -1},                 // mated
      {"", "ok", 2, -1},
      {"100/0 no mate 2|300/0 ok mate 2", "ok", 2, 0.3},
      {"100/0 ok mate 2", "no", 2, -1},
      {"100/0 ok mate 2 lowerbound|200/0 ok mate 2", "ok", 2, 0.1},  // mate in 2 or fewer
      {"100/0 ok mate 2|200/0 ok mate 1 upperbound|300/0 ok mate 2", "ok", 2, 0.3},
      {"100/0 ok mate 2|200/0 ok mate|300/0 ok mate 2", "ok", 2, 0.3},  // a PV without a score
  };
  for (const auto& [search, bestmove, mate_in, seconds] : cases)
    EXPECT_DOUBLE_EQ(solution_seconds(pvs_of(search), bestmove, 900.0, right, mate_in).value_or(-1),
                     seconds)
        << search;
}

TEST(SolutionTime, SettledOnceTheRightRunHeldLongEnough) {
  // The search, the mate the key move needs, now in wall ms; the hold is
  // 1000 ms of engine time.
  const std::tuple<const char*, int, double, bool> cases[] = {
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
  for (const auto& [search, mate_in, now, expected] : cases)
    EXPECT_EQ(settled(pvs_of(search), now, 1000, right, mate_in), expected)
        << search << " at " << now;
}

}  // namespace
}  // namespace tarvolin::solve
