// Whole runs through the binary with the thread count set in the
// environment: every count writes the bytes of one thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// Large enough for the builder to share out its programs (over a million
// visits) and for both long reports to come in several groups; three
// clusters, some failures estimated past their limits.
TEST(MatchAndReportWorkers, WholeRunsWriteTheSameReportsForAnyThreadCount) {
  const suite::Suite generated = suite::generate({.programs = 240,
                                                  .positions = 150,
                                                  .density = 0.8,
                                                  .solved_share = 0.6,
                                                  .limits = {10, 60, 300},
                                                  .offset_min = -0.5,
                                                  .offset_max = 2.0,
                                                  .groups = 3,
                                                  .tie_share = 0.05,
                                                  .seed = 7});
  ScratchDir dir;
  dir.write("suite.pgn", generated.results);
  dir.write("Offset.pgn", generated.offsets);
  std::string single[6];  // the five reports and the console
  // The machine's count, then counts nobody can use, which leave it at that.
  for (const char* setting :
       {"TARVOLIN_THREADS=1", "TARVOLIN_THREADS=2", "TARVOLIN_THREADS=3", "TARVOLIN_THREADS=8",
        "TARVOLIN_THREADS=16", "env -u TARVOLIN_THREADS", "TARVOLIN_THREADS=0",
        "TARVOLIN_THREADS=lots"}) {
    SCOPED_TRACE(setting);
    for (const char* report : REPORT_NAMES) std::remove(report);  // none left from the last run
    const RunResult result = run_binary("suite\n2600\n\n", false, std::string(setting) + " ");
    ASSERT_EQ(result.exit_code, 0) << result.console;
    std::string outputs[6];
    for (int r = 0; r < 5; ++r) outputs[r] = dir.read(REPORT_NAMES[r]);
    outputs[5] = without_timing(result.console);
    for (int r = 0; r < 6; ++r) {
      if (single[r].empty()) single[r] = outputs[r];
      EXPECT_TRUE(outputs[r] == single[r]) << (r < 5 ? REPORT_NAMES[r] : "console");
    }
  }
  EXPECT_NE(single[5].find("3 cluster(s)"), std::string::npos) << single[5];
  EXPECT_GT(single[3].size(), std::size_t{1} << 20);  // programs.dat in several groups
}

}  // namespace
}  // namespace tarvolin::testing
