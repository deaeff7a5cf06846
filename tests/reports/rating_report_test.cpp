#include "reports/rating_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/cluster_report.h"
#include "reports/position_report.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

std::string padded(const std::string& name, std::size_t width = 40) {
  return name.size() >= width ? name : name + std::string(width - name.size(), ' ');
}

// A database given as a table of times (rows: programs, columns: positions,
// NOT_TESTED for a gap), run through every phase up to the reports.
struct Database {
  Tables t;
  ScratchDir dir;
  std::FILE* console = std::tmpfile();

  Database(const std::vector<std::string>& names, const std::vector<std::vector<double>>& times) {
    t.program_count = static_cast<int32_t>(names.size());
    t.position_count = static_cast<int32_t>(times[0].size());
    for (int p = 1; p <= t.program_count; ++p) {
      t.program_name[p] = names[p - 1];
      for (int q = 1; q <= t.position_count; ++q) t.solve_time[p][q] = times[p - 1][q - 1];
    }
    for (int q = 1; q <= t.position_count; ++q) {
      t.position_fen[q] = "fen/" + std::to_string(q);
      t.position_label[q] = "Pos " + std::to_string(q);
    }
    t.frozen_program_count = t.program_count;
    normalise_times(t);
    build_matches(t);
    find_clusters(t);
    write_cluster_report(t, console);
    iterate_ratings(t);
    compute_error_margins(t);
  }
  ~Database() { std::fclose(console); }
};

const std::string HEADER =
    "\n\n    Program                                    Elo   +/-  Matches  Score   Av.Op.   "
    "S.Pos.   MST1    MST2   RIndex\n\n";
const std::string LEGEND =
    "\n\n\nMST1  : Mean solution time (solved positions only)\n"
    "MST2  : Mean solution time (solved and unsolved positions)\n"
    "RIndex: Score according to solution time ranking for each position\n";

TEST(RatingReport, OneBlockPerClusterRanksFromOneInBothFiles) {
  const std::string long_name = "ChestnutDeluxeAnalysisEngineVersion2024Beta12";  // 45
  const double x = NOT_TESTED;
  // Ash and the long name draw on position 1; Date (10 s) beats Beech (20 s)
  // on position 2; nothing links the two pairs.
  Database db({"Ash", "Beech", long_name, "Date"}, {{10, x}, {x, 20}, {10, x}, {x, 10}});
  Tables& t = db.t;
  ASSERT_EQ(t.cluster_count, 2);
  for (int p = 1; p <= 4; ++p) t.pending_flag[p] = 7;  // must be cleared by the report
  ReportOutcome outcome = write_rating_report(t, db.console);
  EXPECT_TRUE(outcome.rating_written && outcome.programs_written);
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(t.pending_flag[p], 0);

  // Draw: both stay at 2400 exactly, the lower number first. Date scores
  // 1 / (1 + 2^-k) = 0.571463, worth 50 Elo: 2425 against 2375 after one
  // step, unchanged by the second. One match each: no margin.
  const std::string ash = "  1 " + padded("Ash") +
                          " : 2600    0      1    50.0 %   2600     1/  1   10.0s   10.0s   1.00";
  const std::string chestnut =
      "  2 " + long_name + " : 2600    0      1    50.0 %   2600     1/  1   10.0s   10.0s   1.00";
  const std::string date = "  1 " + padded("Date") +
                           " : 2625    0      1    57.1 %   2575     1/  1   10.0s   10.0s   1.00";
  const std::string beech = "  2 " + padded("Beech") +
                            " : 2575    0      1    42.9 %   2625     1/  1   20.0s   20.0s   0.50";
  EXPECT_EQ(ash.size(), 113u);
  EXPECT_EQ(chestnut.size(), 118u);
  std::string rating = db.dir.read("rating.dat");
  EXPECT_EQ(rating,
            HEADER + ash + "\n" + chestnut + "\n" + HEADER + date + "\n" + beech + "\n" + LEGEND);

  std::string programs = db.dir.read("programs.dat");
  std::size_t at = 0;
  for (const std::string& title :
       {"\n\n1 " + padded("Ash") + " (2600.0 Elo)", "\n\n2 " + long_name + " (2600.0 Elo)",
        "\n\n1 " + padded("Date") + " (2625.0 Elo)",
        "\n\n2 " + padded("Beech") + " (2575.0 Elo)"}) {
    std::size_t found = programs.find(title, at);
    EXPECT_NE(found, std::string::npos) << title;
    at = found == std::string::npos ? at : found + 1;
  }
}

TEST(RatingReport, TotalLineFromScoresOpponentLinesFromTimes) {
  const double x = NOT_TESTED;
  // Alpha solves in exactly Beta's limit of 20 s: a draw by the times, a
  // win by the match score. Alpha is the only solver, so Beta's estimate is
  // 20 * 3^(1/k) and Alpha scores 1 / (1 + 1/3) = 0.75. Gamma's limit of 9999998 s,
  // the input ">9999998s", is a tested failure everywhere.
  Database db({"Alpha", "Beta", "Gamma"}, {{20, 10}, {-20, x}, {x, -9999998.0}});
  write_rating_report(db.t, db.console);
  write_position_report(db.t, db.console);
  std::string programs = db.dir.read("programs.dat");
  std::string rating = db.dir.read("rating.dat");
  std::string positions = db.dir.read("positions.dat");

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
