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

// Writes general.dat from t in a fresh directory; returns the file, and
// fails the test if anything reached the console.
std::string report_of(const Tables& t) {
  ScratchDir dir;
  std::FILE* console = std::tmpfile();
  EXPECT_TRUE(write_general_report(t, console));
  EXPECT_EQ(std::ftell(console), 0L);
  std::fclose(console);
  return dir.read("general.dat");
}

std::unique_ptr<Tables> summary(int32_t matches) {
  auto t = std::make_unique<Tables>();
  t->match_count = t->complete_count = matches;
  return t;
}

// The layout itself is in the worked end-to-end cases; these are the shares
// of nothing and counts wider than their fields.
TEST(GeneralReport, EmptySharesAndWideCounts) {
  std::string text = report_of(*summary(0));
  EXPECT_NE(text.find("invalid   :      0/0 ->   0.00 %\n"
                      "evaluated :      0/0 ->   0.00 %\n"
                      "among them\n"
                      "complete  :      0/0 ->   0.00 %\n"
                      "uncomplete:      0/0 ->   0.00 %\n"),
            std::string::npos)
      << text;

  auto wide = summary(1234567);
  wide->start_elo = 12345.6;
  text = report_of(*wide);
  EXPECT_NE(text.find("invalid   :      0/1234567 ->   0.00 %\n"
                      "evaluated : 1234567/1234567 -> 100.00 %\n"
                      "among them\n"
                      "complete  : 1234567/1234567 -> 100.00 %\n"
                      "uncomplete:      0/1234567 ->   0.00 %\n"
                      "\nStart Elo :  12346\n"),
            std::string::npos)
      << text;
}

std::string title(int q, const std::string& label, const std::string& fen) {
  char number[8];
  std::snprintf(number, sizeof number, "%3d", q);
  return "\n\n\nPosition " + std::string(number) + ": " + label + "\nFEN: " + fen +
         std::string(80 - fen.size(), ' ');
}

std::string listed(const std::string& name, const std::string& mark_and_time) {
  return "\n" + name + std::string(40 - name.size(), ' ') + ": " + mark_and_time + " s";
}

TEST(PositionReport, SectionsMarksOrderDifficultyAndFileEnding) {
  ScratchDir dir;
  std::FILE* console = std::tmpfile();
  Tables t;
  t.program_count = 3;
  t.position_count = 6;
  t.program_name[1] = "Alpha", t.program_name[2] = "Beta", t.program_name[3] = "Gamma";
  const char* labels[] = {"", "Equal", "Double", "Half", "Nobody", "Triple", "Never"};
  for (int q = 1; q <= 6; ++q) {
    t.position_label[q] = labels[q];
    t.position_fen[q] = "fen/" + std::to_string(q);
  }
  auto set = [&](int q, double a, double b, double c) {
    t.solve_time[1][q] = a, t.solve_time[2][q] = b, t.solve_time[3][q] = c;
  };
  const double x = NOT_TESTED;
  set(1, 10, 10, x);     // equal times: by program number
  set(2, 0.4, 1.0, 58);  // 0.4 raised to the 1.0 floor; both carry "<"
  set(3, 5, x, x);
  set(4, -30, -50, x);   // nobody solved: no estimate at all
  set(5, 45, -30, -15);  // limits 15 and 30 listed before the solve in 45
  // position 6: nobody tested
  normalise_times(t);
  build_matches(t);
  // MST2 of the positions: 10, 20, 5, 40, 30 against 10 for the database.
  t.overall_mst2 = 10.0;

  const std::string header =
      "Individual statistics: positions"
      "\n\nMST1  : Mean solution time (only programs solving the position)\n"
      "MST2  : Mean solution time (also programs not solving the position)\n"
      "iMST  : Internal mean solution time (using estimated time for unsolved results)";
  const std::string sections =
      title(1, "Equal", "fen/1") +
      "\nSolved by 2 of 2 programs\nMST1:   10.0 s\nMST2:   10.0 s\niMST:   10.0 s"
      "\nDegree of difficulty (based on MST2): 2600.0 (+0.0) Elo\n" +
      listed("Alpha", "   10.00") + listed("Beta", "   10.00") + title(2, "Double", "fen/2") +
      "\nSolved by 3 of 3 programs\nMST1:   20.0 s\nMST2:   20.0 s\niMST:   20.0 s"
      "\nDegree of difficulty (based on MST2): 2650.0 (+50.0) Elo\n" +
      listed("Alpha", "<   1.00") + listed("Beta", "<   1.00") + listed("Gamma", "   58.00") +
      title(3, "Half", "fen/3") +
      "\nSolved by 1 of 1 programs\nMST1:    5.0 s\nMST2:    5.0 s\niMST:    5.0 s"
      "\nDegree of difficulty (based on MST2): 2550.0 (-50.0) Elo\n" +
      listed("Alpha", "    5.00") + title(4, "Nobody", "fen/4") +
      "\nSolved by 0 of 2 programs\nMST1:    -\nMST2:   40.0 s\niMST:    -"
      "\nDegree of difficulty (based on MST2): 2700.0 (+100.0) Elo\n" +
      listed("Alpha", ">  30.00") + listed("Beta", ">  50.00") +
      // Estimates 45 (1 + 2 (L/45)^k)^(1/k): 487.75 for Beta, 323.15 for
      // Gamma, the highest-numbered failure, which is the one shown.
      // iMST (45 + 487.75 + 323.15) / 3; difficulty 50 log2 3 = 79.25.
      title(5, "Triple", "fen/5") +
      "\nSolved by 1 of 3 programs\nMST1:   45.0 s\nMST2:   30.0 s\niMST:  285.3 s"
      " (estimated: 323.2 s)"
      "\nDegree of difficulty (based on MST2): 2679.2 (+79.2) Elo\n" +
      listed("Gamma", ">  15.00") + listed("Beta", ">  30.00") + listed("Alpha", "   45.00");

  // Ending on a listed program: no newline after its line.
  t.position_count = 5;
  EXPECT_TRUE(write_position_report(t, console));
  EXPECT_EQ(dir.read("positions.dat"), header + sections);
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(t.pending_flag[p], 0);

  // Ending on a position nobody was tested on: its own line end closes the file.
  t.position_count = 6;
  EXPECT_TRUE(write_position_report(t, console));
  EXPECT_EQ(dir.read("positions.dat"),
            header + sections + title(6, "Never", "fen/6") + "\nNot tested yet!\n");
  std::fclose(console);
}

TEST(RatingReport, TotalLineFromScoresOpponentLinesFromTimes) {
  const double x = NOT_TESTED;
  // Alpha solves in exactly Beta's limit of 20 s: a draw by the times, a
  // win by the match score. Alpha is the only solver, so Beta's estimate is
  // 20 * 3^(1/k) and Alpha scores 1 / (1 + 1/3) = 0.75. Gamma's limit of 9999998 s,
  // the input ">9999998s", is a tested failure everywhere.
  ScratchDir dir;
  Tables t;
  t.program_count = t.frozen_program_count = 3;
  t.position_count = 2;
  const char* names[] = {"", "Alpha", "Beta", "Gamma"};
  const double times[][2] = {{0, 0}, {20, 10}, {-20, x}, {x, -9999998.0}};
  for (int p = 1; p <= 3; ++p) {
    t.program_name[p] = names[p];
    for (int q = 1; q <= 2; ++q) t.solve_time[p][q] = times[p][q - 1];
  }
  normalise_times(t);
  build_matches(t);
  find_clusters(t);
  iterate_ratings(t);
  compute_error_margins(t);
  std::FILE* console = std::tmpfile();
  write_rating_report(t, console);
  write_position_report(t, console);
  std::fclose(console);
  std::string programs = dir.read("programs.dat");
  std::string rating = dir.read("rating.dat");
  std::string positions = dir.read("positions.dat");

  // Against Gamma: est = 10 (1 + 2 * 999999.8^k)^(1/k) = 53289004.27 s,
  // score 0.998393; Alpha's rate (0.75 + 0.998393) / 2 = 87.4 %.
  EXPECT_NE(programs.find(
                "Total                                   :     2 (+   2,=   0,-   0), 87.4 %\n\n" +
                padded("Beta") + ":     1 (+   0,=   1,-   0), 75.0 %\n" + padded("Gamma") +
                ":     1 (+   1,=   0,-   0), 99.8 %\n"),
            std::string::npos)
      << programs;
  EXPECT_NE(programs.find(
                "Total                                   :     1 (+   0,=   0,-   1), 25.0 %\n\n" +
                padded("Alpha") + ":     1 (+   0,=   1,-   0), 25.0 %\n"),
            std::string::npos);
  // Beta's failure at exactly Alpha's time is a hit for its rank index.
  EXPECT_NE(programs.find("MST2            :   20.00 s\niMST            :  281.87 s\n"
                          "RankIndex       :    1.00\n"),
            std::string::npos);  // 20 * 3^(1/k)
  EXPECT_NE(programs.find("Solved positions:    0/  1  (0.00 %)\nTimeOffset      :    0.00 s\n"
                          "MST1            :    0.00 s\nMST2            : 9999998.00 s\n"
                          "iMST            : 53289004.27 s\nRankIndex       :    0.00\n"),
            std::string::npos)
      << programs;
  EXPECT_NE(rating.find("  0/  1    0.0s  9999998.0s   0.00\n"), std::string::npos) << rating;
  // (10 + 53289004.27) / 2 and (20 + 281.87) / 2
  EXPECT_NE(positions.find("Solved by 1 of 2 programs\nMST1:   10.0 s\nMST2: 5000004.0 s\n"
                           "iMST: 26644507.1 s (estimated: 53289004.3 s)"),
            std::string::npos)
      << positions;
  EXPECT_NE(positions.find("Solved by 1 of 2 programs\nMST1:   20.0 s\nMST2:   20.0 s\n"
                           "iMST:  150.9 s (estimated: 281.9 s)"),
            std::string::npos);
}

}  // namespace
}  // namespace tarvolin
