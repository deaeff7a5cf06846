#include "reports/program_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "reports/rank_index.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

std::string padded(const std::string& name) { return name + std::string(40 - name.size(), ' '); }

// The section of each program p = 1..count, written with the given printed
// average opponents.
std::string write_sections(const Tables& t, std::initializer_list<double> av_ops) {
  ScratchDir dir;
  std::FILE* console = std::tmpfile();
  {
    ReportStream out("programs.dat", console);
    const std::vector<double> rank_index_of = rank_indexes(t);
    const OpponentTallies tallies(t);
    int p = 1;
    for (double av_op : av_ops) {
      write_program_details(out, t, p, p, av_op, rank_index_of[p], tallies);
      ++p;
    }
    EXPECT_TRUE(out.close());
  }
  std::fclose(console);
  return dir.read("programs.dat");
}

std::string title_line(const std::string& file, int p, const std::string& name) {
  std::string start = "\n\n" + std::to_string(p) + " " + padded(name);
  std::size_t at = file.find(start);
  if (at == std::string::npos) return "";
  at += 2;
  return file.substr(at, file.find('\n', at) - at);
}

TEST(ProgramDetails, TrendFiguresAndTheirComparisonCharacters) {
  Tables t;
  t.program_count = 5;
  t.position_count = 5;
  const char* names[] = {"", "OnlyEasy", "FromMiddle", "Level", "Falling", "Gap"};
  for (int p = 1; p <= 5; ++p) {
    t.program_name[p] = names[p];
    // Each program alone on its own position: no opponent lines.
    t.solve_time[p][p] = t.est_time[p][p] = 10.0;
    t.elo[p] = 2400.0;  // printed 2600.0
  }
  // Printed 50 above its average opponent, mean class-1 score 0.75:
  // 190.8485 + 2600 - 2650 = 140.8485.
  t.elo[1] = 2450.0;
  t.trend_count[1][1] = 4, t.trend_sum[1][1] = 3.0;
  // A figure after a missing one is compared with -10000.
  t.trend_count[2][2] = 2, t.trend_sum[2][2] = 1.0;
  // Equal computed values give "="; values that print alike but differ in
  // the eighth decimal of the score still give "<" or ">".
  t.trend_count[3][1] = 2, t.trend_sum[3][1] = 1.5;
  t.trend_count[3][2] = 4, t.trend_sum[3][2] = 3.0;
  t.trend_count[3][3] = 1, t.trend_sum[3][3] = 0.75000001;
  t.trend_count[4][1] = 2, t.trend_sum[4][1] = 1.5;
  t.trend_count[4][2] = 4, t.trend_sum[4][2] = 3.0;
  t.trend_count[4][3] = 1, t.trend_sum[4][3] = 0.74999999;
  // Missing middle: the last figure compares with -10000, not with T_1.
  t.trend_count[5][1] = 4, t.trend_sum[5][1] = 3.0;
  t.trend_count[5][3] = 4, t.trend_sum[5][3] = 1.0;

  std::string file = write_sections(t, {2600.0, 2612.34, 2600.0, 2600.0, 2600.0});
  const char* figures[] = {"",
                           " (2650.0 Elo) Trend:  +140.8  -  - ",
                           " (2600.0 Elo) Trend:  -  < +12.3  - ",
                           " (2600.0 Elo) Trend:  +190.8  = +190.8  < +190.8 ",
                           " (2600.0 Elo) Trend:  +190.8  = +190.8  > +190.8 ",
                           " (2600.0 Elo) Trend:  +190.8  -  < -190.8 "};
  for (int p = 1; p <= 5; ++p)
    EXPECT_EQ(title_line(file, p, names[p]),
              std::to_string(p) + " " + padded(names[p]) + figures[p]);
}

TEST(ProgramDetails, OpponentLinesCountTimesAndShowTheMeanScore) {
  Tables t;
  t.program_count = 4;
  t.position_count = 5;
  t.program_name[1] = "Pike", t.program_name[2] = "Roach", t.program_name[3] = "Sole",
  t.program_name[4] = "Tench";
  const double pike[] = {10.0, 20.0, 40.0, -10.0, 30.0};
  for (int q = 1; q <= 5; ++q) t.solve_time[1][q] = t.est_time[1][q] = pike[q - 1];
  for (int q = 1; q <= 3; ++q) t.solve_time[2][q] = t.est_time[2][q] = 20.0;
  t.solve_time[3][4] = -20.0;  // both failed: no line for Sole
  t.solve_time[4][5] = -20.0;  // Pike solved after Tench's limit: no line for Tench
  // Pike faster on position 1, level on 2, slower on 3.
  t.pair_games[1][2] = t.pair_games[2][1] = 3;
  t.pair_faster[1][2] = t.pair_faster[2][1] = 1;
  t.pair_score[1][2] = 0.7 + 0.5 + 0.2;
  t.pair_score[2][1] = 0.3 + 0.5 + 0.8;
  t.match_total[1] = 3, t.match_wins[1] = 1, t.match_draws[1] = 1, t.match_losses[1] = 1;
  t.score_rate[1] = 1.4 / 3.0;

  std::string file = write_sections(t, {2600.0});
  std::string results = file.substr(file.find("\nMatch results:\n"));
  // 1.4 of 3.0 points: 46.67 %
  EXPECT_EQ(results,
            "\nMatch results:\n"
            "Total                                   :     3 (+   1,=   1,-   1), 46.7 %\n\n" +
                padded("Roach") + ":     3 (+   1,=   1,-   1), 46.7 %\n");
}

TEST(RankIndex, ComparesOnlyWithSolversWithinTheOwnTime) {
  struct Row {
    std::vector<double> times;  // programs 1..n on one position
    int program;
    double index;
  };
  const Row rows[] = {
      {{10.0, 20.0}, 1, 1.0},   // itself and the slower one
      {{10.0, 20.0}, 2, 0.5},   // only itself
      {{10.0, -60.0}, 1, 1.0},  // a failure is never an opponent
      {{10.0, -60.0}, 2, 0.0},  // beaten within its limit
      {{-5.0, 10.0}, 1, 0.0},   // solver came after the limit: nothing compared
      {{-5.0, 10.0}, 2, 1.0},
      {{-10.0, -20.0}, 1, 0.0},
      {{-10.0, 10.0, 5.0}, 1, 0.5},  // a solve exactly at the limit is a hit
      {{NOT_TESTED, NOT_TESTED}, 1, 0.0},
  };
  for (const Row& row : rows) {
    Tables t;
    t.program_count = static_cast<int32_t>(row.times.size());
    t.position_count = 1;
    for (int p = 1; p <= t.program_count; ++p) t.solve_time[p][1] = row.times[p - 1];
    EXPECT_EQ(rank_indexes(t)[row.program], row.index) << row.program << " " << row.times[0];
  }
  Tables none;  // no positions at all
  none.program_count = 2;
  EXPECT_EQ(rank_indexes(none)[1], 0.0);
}

TEST(RankIndex, PoolsComparisonsOverAllPositions) {
  Tables t;
  t.program_count = 3;
  t.position_count = 3;
  t.solve_time[1][1] = 10.0, t.solve_time[2][1] = 20.0, t.solve_time[3][1] = 30.0;
  t.solve_time[1][2] = 20.0, t.solve_time[2][2] = 10.0;
  // position 3 untested for program 1
  t.solve_time[2][3] = 1.0;
  // 3 of 3 plus 1 of 2: 4 / 5, not the mean of the two shares
  EXPECT_DOUBLE_EQ(rank_indexes(t)[1], 0.8);
}

}  // namespace
}  // namespace tarvolin
