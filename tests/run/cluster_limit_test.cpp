#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// The hundred-and-first cluster is refused in the hostile-input tests; a
// hundred, each a pair of programs meeting only each other, still run through.
TEST(ClusterLimit, HundredClustersRunThrough) {
  ScratchDir dir;
  std::string pgn;
  for (int i = 1; i <= 100; ++i)
    pgn += "[Event \"Pairs\"]\n[FEN \"position " + std::to_string(i) + "\"]\n\n{'P" +
           std::to_string(2 * i - 1) + "' 10s, 'P" + std::to_string(2 * i) + "' 20s} *\n\n";
  dir.write("pairs.pgn", pgn);
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

}  // namespace
}  // namespace tarvolin::testing
