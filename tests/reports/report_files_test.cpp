#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/general_report.h"
#include "reports/position_report.h"
#include "reports/program_report.h"
#include "reports/rank_index.h"
#include "reports/rating_report.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

std::string padded(const std::string& name) { return name + std::string(40 - name.size(), ' '); }

// Shares of nothing, and counts wider than their fields.
TEST(GeneralReport, EmptySharesAndWideCounts) {
  for (int32_t matches : {0, 1234567}) {
    ScratchDir dir;
    auto t = std::make_unique<Tables>();
    t->match_count = t->complete_count = matches;
    t->start_elo = 12345.6;
    EXPECT_TRUE(write_general_report(*t, stdout));
    const std::string expected = matches == 0 ? "uncomplete:      0/0 ->   0.00 %\n"
                                              : "complete  : 1234567/1234567 -> 100.00 %\n"
                                                "uncomplete:      0/1234567 ->   0.00 %\n"
                                                "\nStart Elo :  12346\n";
    EXPECT_NE(dir.read("general.dat").find(expected), std::string::npos) << dir.read("general.dat");
  }
}

void name_three(Tables& t) {
  t.program_count = 3;
  t.program_name[1] = "Alpha", t.program_name[2] = "Beta", t.program_name[3] = "Gamma";
}

std::string listed(const std::string& name, const std::string& mark_and_time) {
  return std::string("\n").append(padded(name)).append(": ").append(mark_and_time).append(" s");
}

// Failures listed with ">" before the solves, the estimate of the highest-numbered failure shown,
// and the file's ending on a listed program or on a position nobody was tested on.
TEST(PositionReport, MarksOrderDifficultyAndFileEnding) {
  ScratchDir dir;
  Tables t;
  name_three(t), t.position_count = 2;
  const double x = NOT_TESTED, times[][3] = {{45, -30, -15}, {x, x, x}};
  for (int q = 1; q <= 2; ++q) {
    t.position_label[q] = std::string("L").append(std::to_string(q));
    t.position_fen[q] = std::string("fen/").append(std::to_string(q));
    for (int p = 1; p <= 3; ++p) t.solve_time[p][q] = times[q - 1][p - 1];
  }
  normalise_times(t);
  build_matches(t);
  t.overall_mst2 = 10.0, t.position_count = 1;
  EXPECT_TRUE(write_position_report(t, stdout));
  const std::string file = dir.read("positions.dat");
  // Estimates 45 (1 + 2 (L/45)^k)^(1/k): 487.75 for Beta, 323.15 for Gamma; iMST (45 + 487.75 +
  // 323.15) / 3; difficulty 50 log2 (30 / 10).
  const std::string expected =
      "\nSolved by 1 of 3 programs\nMST1:   45.0 s\nMST2:   30.0 s\niMST:  285.3 s (estimated: "
      "323.2 "
      "s)\nDegree of difficulty (based on MST2): 2679.2 (+79.2) Elo\n" +
      listed("Gamma", ">  15.00") + listed("Beta", ">  30.00") + listed("Alpha", "   45.00");
  EXPECT_EQ(file.substr(file.size() - expected.size()), expected);  // no newline at the end
  t.position_count = 2;
  EXPECT_TRUE(write_position_report(t, stdout));
  EXPECT_EQ(dir.read("positions.dat"), file + std::string("\n\n\nPosition   2: L2\nFEN: fen/2")
                                                  .append(75, ' ')
                                                  .append("\nNot tested yet!\n"));
}

// Alpha solves in exactly Beta's limit of 20 s: a draw by the times, a win by the score, 1 / (1 +
// 1/3) against Beta's estimate 20 * 3^(1/k) = 281.87. Gamma's limit of 9999998 s is a tested
// failure: est = 10 (1 + 2 * 999999.8^k)^(1/k) = 53289004.27 s, Alpha's score 0.998393.
TEST(RatingReport, TotalLineFromScoresOpponentLinesFromTimes) {
  ScratchDir dir;
  Tables t;
  name_three(t), t.frozen_program_count = 3, t.position_count = 2;
  t.solve_time[1][1] = 20, t.solve_time[1][2] = 10, t.solve_time[2][1] = -20;
  t.solve_time[3][2] = -9999998.0;
  normalise_times(t);
  build_matches(t);
  find_clusters(t);
  iterate_ratings(t);
  compute_error_margins(t);
  write_rating_report(t, stdout);
  const std::string programs = dir.read("programs.dat");
  const std::string in_programs[] = {
      // (0.75 + 0.998393) / 2 = 87.4 %
      padded("Total") + ":     2 (+   2,=   0,-   0), 87.4 %\n\n" + padded("Beta") +
          ":     1 (+   0,=   1,-   0), 75.0 %\n" + padded("Gamma") +
          ":     1 (+   1,=   0,-   0), 99.8 %\n",
      // Beta's failure at exactly Alpha's time is a hit for its rank index.
      "MST2            :   20.00 s\niMST            :  281.87 s\nRankIndex       :    1.00\n",
      "MST1            :    0.00 s\nMST2            : 9999998.00 s\n"
      "iMST            : 53289004.27 s\nRankIndex       :    0.00\n"};
  for (const std::string& part : in_programs)
    EXPECT_NE(programs.find(part), std::string::npos) << part;
  EXPECT_NE(dir.read("rating.dat").find("  0/  1    0.0s  9999998.0s   0.00\n"), std::string::npos);
}

// The sections of programs 1..av_ops.size() against the given printed average opponents.
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
