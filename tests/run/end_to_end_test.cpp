#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

// Every tests/data/e2e_* folder is a worked case: its result and offset
// files, the answers typed at the console, and in expected/ the transcript
// and all five reports, figured out independently of this program.
std::vector<fs::path> worked_cases() {
  std::vector<fs::path> cases;
  for (const fs::directory_entry& entry : fs::directory_iterator(TARVOLIN_TEST_DATA))
    if (entry.is_directory() && entry.path().filename().string().rfind("e2e_", 0) == 0)
      cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  return cases;
}

TEST(EndToEnd, WorkedCasesMatchByteForByte) {
  std::vector<fs::path> cases = worked_cases();
  ASSERT_GE(cases.size(), 2u);
  for (const fs::path& folder : cases) {
    SCOPED_TRACE(folder.filename().string());
    ScratchDir dir;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      if (entry.path().extension() == ".pgn")
        dir.write(entry.path().filename().string(), read_file(entry.path().string()));
    RunResult result = run_binary(read_file((folder / "answers.txt").string()));
    EXPECT_EQ(result.exit_code, 0);
    const fs::path expected = folder / "expected";
    EXPECT_EQ(without_timing(result.console), read_file((expected / "console.txt").string()));
    for (const char* report : REPORT_NAMES) {
      ASSERT_TRUE(fs::exists(expected / report)) << report;
      EXPECT_EQ(dir.read(report), read_file((expected / report).string())) << report;
    }
  }
}

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
