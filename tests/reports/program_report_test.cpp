#include "reports/program_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "reports/rank_index.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

std::string padded(const std::string& name) { return name + std::string(40 - name.size(), ' '); }

// The sections of programs 1..av_ops.size(), written with the given printed
// average opponents.
std::string write_sections(const Tables& t, const std::vector<double>& av_ops) {
  testing::ScratchDir dir;
  ReportStream out("programs.dat", stdout);
  const std::vector<double> rank_index_of = rank_indexes(t);
  const OpponentTallies tallies(t);
  for (int p = 1; p <= static_cast<int>(av_ops.size()); ++p)
    write_program_details(out, t, p, p, av_ops[p - 1], rank_index_of[p], tallies);
  EXPECT_TRUE(out.close());
  return dir.read("programs.dat");
}

// Trend figures are mean class scores as Elo above the printed opponents (190.8485 for 0.75). A
// figure after a missing one compares with -10000; "=" only for equal values, not for equal print.
TEST(ProgramDetails, TrendFiguresAndTheirComparisonCharacters) {
  Tables t;
  t.program_count = t.position_count = 4;
  struct Row {
    double elo, av_op, sums[3], counts[3];
    const char* figures;
  };
  // clang-format off
  const Row rows[] = {
      {2450, 2600, {3, 0, 0}, {4, 0, 0}, " (2650.0 Elo) Trend:  +140.8  -  - "},
      {2400, 2612.34, {0, 1, 0}, {0, 2, 0}, " (2600.0 Elo) Trend:  -  < +12.3  - "},
      {2400, 2600, {1.5, 3, 0.75000001}, {2, 4, 1}, " (2600.0 Elo) Trend:  +190.8  = +190.8  < +190.8 "},
      {2400, 2600, {1.5, 3, 0.74999999}, {2, 4, 1}, " (2600.0 Elo) Trend:  +190.8  = +190.8  > +190.8 "}};
  // clang-format on
  std::vector<double> av_ops;
  for (int p = 1; p <= 4; ++p) {
    t.program_name[p] = std::string("P").append(std::to_string(p));
    t.solve_time[p][p] = t.est_time[p][p] = 10.0;  // alone on its own position
    t.elo[p] = rows[p - 1].elo;
    av_ops.push_back(rows[p - 1].av_op);
    for (int c = 1; c <= 3; ++c)
      t.trend_sum[p][c] = rows[p - 1].sums[c - 1],
      t.trend_count[p][c] = static_cast<int32_t>(rows[p - 1].counts[c - 1]);
  }
  const std::string file = write_sections(t, av_ops);
  for (int p = 1; p <= 4; ++p)
    EXPECT_NE(file.find(padded(t.program_name[p]) + rows[p - 1].figures + "\n"), std::string::npos)
        << file;
}

// Opponent lines count wins by the times and show the mean match score; pairs that both failed or
// where one solved after the other's limit give no line.
TEST(ProgramDetails, OpponentLinesCountTimesAndShowTheMeanScore) {
  Tables t;
  t.program_count = 4, t.position_count = 5;
  t.program_name[1] = "Pike", t.program_name[2] = "Roach";
  const double pike[] = {10.0, 20.0, 40.0, -10.0, 30.0};
  for (int q = 1; q <= 5; ++q) t.solve_time[1][q] = t.est_time[1][q] = pike[q - 1];
  for (int q = 1; q <= 3; ++q) t.solve_time[2][q] = t.est_time[2][q] = 20.0;
  t.solve_time[3][4] = -20.0, t.solve_time[4][5] = -20.0;
  t.pair_games[1][2] = t.pair_games[2][1] = 3;
  t.pair_faster[1][2] = t.pair_faster[2][1] = 1;
  t.pair_score[1][2] = 1.4, t.pair_score[2][1] = 1.6;
  t.match_total[1] = 3, t.match_wins[1] = 1, t.match_draws[1] = 1, t.match_losses[1] = 1;
  t.score_rate[1] = 1.4 / 3.0;
  const std::string file = write_sections(t, {2600.0});
  EXPECT_EQ(file.substr(file.find("\nMatch results:\n")),
            std::string("\nMatch results:\n").append(padded("Total")) +
                ":     3 (+   1,=   1,-   1), 46.7 %\n\n" + padded("Roach") +
                ":     3 (+   1,=   1,-   1), 46.7 %\n");
}

TEST(RankIndex, ComparesOnlyWithSolversWithinTheOwnTime) {
  // clang-format off
  const std::vector<std::vector<double>> rows = {
      {10, 20, 1, 1.0},  {10, 20, 2, 0.5},    // itself and the slower one; only itself
      {10, -60, 1, 1.0}, {10, -60, 2, 0.0},   // a failure is never an opponent
      {-5, 10, 1, 0.0},  {-5, 10, 2, 1.0},    // solver after the limit: nothing compared
      {-10, -20, 1, 0.0}, {-10, 10, 5, 1, 0.5},  // a solve exactly at the limit is a hit
      {NOT_TESTED, NOT_TESTED, 1, 0.0}};
  // clang-format on
  for (const std::vector<double>& row : rows) {
    Tables t;  // programs on one position, then the program and its index
    t.program_count = static_cast<int32_t>(row.size() - 2), t.position_count = 1;
    for (int p = 1; p <= t.program_count; ++p) t.solve_time[p][1] = row[p - 1];
    EXPECT_EQ(rank_indexes(t)[static_cast<int>(row[row.size() - 2])], row.back())
        << row[0] << " " << row[1];
  }
  // Comparisons pool over the positions: 3 of 3 plus 1 of 2 is 4 / 5, not the
  // mean of the two shares; position 3 is untested for program 1.
  Tables t;
  t.program_count = t.position_count = 3;
  t.solve_time[1][1] = 10.0, t.solve_time[2][1] = 20.0, t.solve_time[3][1] = 30.0;
  t.solve_time[1][2] = 20.0, t.solve_time[2][2] = 10.0, t.solve_time[2][3] = 1.0;
  EXPECT_DOUBLE_EQ(rank_indexes(t)[1], 0.8);
}

}  // namespace
}  // namespace tarvolin
