#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// A result file in which programs 2i-1 and 2i meet only each other, on
// position i, so every pair is a cluster of its own.
std::string paired_programs(int pairs) {
  std::string pgn;
  for (int i = 1; i <= pairs; ++i)
    pgn += "[Event \"Pairs\"]\n[FEN \"position " + std::to_string(i) + "\"]\n\n{'P" +
           std::to_string(2 * i - 1) + "' 10s, 'P" + std::to_string(2 * i) + "' 20s} *\n\n";
  return pgn;
}

TEST(ClusterLimit, HundredAndFirstClusterStopsTheRun) {
  ScratchDir dir;
  dir.write("pairs.pgn", paired_programs(101));
  RunResult result = run_in_process("pairs\n2600\n\n");

  std::string expected =
      "Tarvolin, Version 1.0.4\nRating chess programs by their solution times\n"
      "---------------------------------\n\nName of pgn-file = \nStart Elo = "
      "\nReading pairs.pgn...\n";
  for (int p = 1; p <= 202; ++p) {
    char echo[32];
    std::snprintf(echo, sizeof echo, "(%d) P%d\n", p, p);
    expected += echo;
  }
  expected +=
      "202 programs\n101 positions\n\nCannot find 'Offset.pgn'\n101 matches\n"
      "Analysing database structure... \nMehr als 100 Cluster !\n";
  EXPECT_EQ(result.console, expected);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(dir.exists("general.dat"));
  for (const char* report : {"cluster.dat", "rating.dat", "programs.dat", "positions.dat"})
    EXPECT_FALSE(dir.exists(report)) << report;
}

TEST(ClusterLimit, HundredClustersRunThrough) {
  ScratchDir dir;
  dir.write("pairs.pgn", paired_programs(100));
  RunResult result = run_in_process("pairs\n2600\n\n");
  EXPECT_EQ(result.exit_code, 0) << result.console;
  // Each pair settles after one step: the second iteration changes nothing.
  EXPECT_NE(result.console.find("100 matches\nAnalysing database structure... \n100 cluster(s)\n"
                                "Calculating ELO ratings... 2 iterations\n"),
            std::string::npos)
      << result.console;
  for (const char* report :
       {"general.dat", "cluster.dat", "rating.dat", "programs.dat", "positions.dat"})
    EXPECT_FALSE(dir.read(report).empty()) << report;
}

TEST(ClusterLimit, UnwritableClusterReportIsSkipped) {
  ScratchDir dir;
  dir.write("pairs.pgn", paired_programs(1));
  std::filesystem::create_directory("cluster.dat");
  RunResult result = run_in_process("pairs\n2600\n\n");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.console.find("1 cluster(s)\n\nCannot write 'cluster.dat'\n"
                                "Calculating ELO ratings... 2 iterations\nCPU time = "),
            std::string::npos)
      << result.console;
  EXPECT_NE(result.console.find("\nReady!"), std::string::npos);
  for (const char* report : {"general.dat", "rating.dat", "programs.dat", "positions.dat"})
    EXPECT_FALSE(dir.read(report).empty()) << report;
}

}  // namespace
}  // namespace tarvolin::testing
