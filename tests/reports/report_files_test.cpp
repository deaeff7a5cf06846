#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/general_report.h"
#include "reports/position_report.h"
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

// Floored times marked "<", failures listed with ">" before the solves, the
// estimate of the highest-numbered failure shown, positions nobody solved or
// tested, and the file's ending either way.
TEST(PositionReport, MarksOrderDifficultyAndFileEnding) {
  ScratchDir dir;
  Tables t;
  name_three(t), t.position_count = 5;
  const double x = NOT_TESTED;
  const double times[][3] = {{10, 10, x}, {0.4, 1.0, 58}, {-30, -50, x}, {45, -30, -15}, {x, x, x}};
  for (int q = 1; q <= 5; ++q) {
    t.position_label[q] = std::string("L").append(std::to_string(q));
    t.position_fen[q] = std::string("fen/").append(std::to_string(q));
    for (int p = 1; p <= 3; ++p) t.solve_time[p][q] = times[q - 1][p - 1];
  }
  normalise_times(t);
  build_matches(t);
  t.overall_mst2 = 10.0;  // against MST2 of 10, 20, 40, 30
  t.position_count = 4;   // ending on a listed program: no newline after its line
  EXPECT_TRUE(write_position_report(t, stdout));
  const std::string file = dir.read("positions.dat");
  // Estimates 45 (1 + 2 (L/45)^k)^(1/k) on position 4: 487.75 for Beta, 323.15
  // for Gamma; iMST (45 + 487.75 + 323.15) / 3; difficulty 50 log2 3.
  const std::string expected[] = {
      listed("Alpha", "   10.00") + listed("Beta", "   10.00") + "\n\n\nPosition   2: L2\n",
      listed("Alpha", "<   1.00") + listed("Beta", "<   1.00") + listed("Gamma", "   58.00"),
      "\nSolved by 0 of 2 programs\nMST1:    -\nMST2:   40.0 s\niMST:    -"
      "\nDegree of difficulty (based on MST2): 2700.0 (+100.0) Elo\n",
      listed("Alpha", ">  30.00") + listed("Beta", ">  50.00") + "\n\n\nPosition   4: L4\n",
      "\nSolved by 1 of 3 programs\nMST1:   45.0 s\nMST2:   30.0 s\niMST:  285.3 s"
      " (estimated: 323.2 s)\nDegree of difficulty (based on MST2): 2679.2 (+79.2) Elo\n",
      listed("Gamma", ">  15.00") + listed("Beta", ">  30.00") + listed("Alpha", "   45.00")};
  for (const std::string& part : expected) EXPECT_NE(file.find(part), std::string::npos) << part;
  EXPECT_EQ(file.substr(file.size() - 12), ":    45.00 s");
  // Ending on a position nobody was tested on: its own line end closes the file.
  t.position_count = 5;
  EXPECT_TRUE(write_position_report(t, stdout));
  EXPECT_EQ(dir.read("positions.dat"), file + std::string("\n\n\nPosition   5: L5\nFEN: fen/5")
                                                  .append(75, ' ')
                                                  .append("\nNot tested yet!\n"));
}

// Alpha solves in exactly Beta's limit of 20 s: a draw by the times, a win by
// the match score; as the only solver Alpha scores 1 / (1 + 1/3) against
// Beta's estimate 20 * 3^(1/k) = 281.87. Gamma's limit of 9999998 s is a
// tested failure everywhere: est = 10 (1 + 2 * 999999.8^k)^(1/k) = 53289004.27
// s, Alpha's score 0.998393 against it.
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

}  // namespace
}  // namespace tarvolin
