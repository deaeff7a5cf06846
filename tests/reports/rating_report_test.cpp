#include "reports/rating_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/position_report.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

std::string padded(const std::string& name) { return name + std::string(40 - name.size(), ' '); }

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
