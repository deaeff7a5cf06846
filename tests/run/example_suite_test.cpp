#include <gtest/gtest.h>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// The shipped example must run to all five reports through the real binary
// with piped answers, exactly as the README's quick start does.
TEST(ExampleSuite, RunsToAllFiveReports) {
  ScratchDir dir;
  dir.write("suite.pgn", read_file(TARVOLIN_EXAMPLES "/suite.pgn"));
  dir.write("Offset.pgn", read_file(TARVOLIN_EXAMPLES "/Offset.pgn"));
  RunResult result = run_binary("suite\n2600\n\n");
  EXPECT_EQ(result.exit_code, 0) << result.console;
  EXPECT_NE(result.console.find("8 programs\n40 positions\n\nReading 'Offset.pgn'\n"),
            std::string::npos)
      << result.console;
  for (const char* report : REPORT_NAMES) EXPECT_FALSE(dir.read(report).empty()) << report;
}

}  // namespace
}  // namespace tarvolin::testing
