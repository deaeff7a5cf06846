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

}  // namespace
}  // namespace tarvolin::testing
