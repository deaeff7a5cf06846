#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

const char* const SMALL_SUITE =
    "[Event \"1\"]\n[Annotator \"Pos 1\"]\n"
    "[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n"
    "{'Alpha' 10s, 'Beta' 20s, 'Gamma' >60s}\n*\n\n"
    "[Event \"2\"]\n[Annotator \"Pos 2\"]\n"
    "[FEN \"4k3/8/8/8/8/8/8/R3K3 w Q - 0 1\"]\n"
    "{'Alpha' 30s, 'Beta' 5s, 'Gamma' 12s}\n*\n";

const char* const OTHER_REPORTS[] = {"cluster.dat", "rating.dat", "programs.dat", "positions.dat"};

struct Outcome {
  RunResult run;
  std::string reports[4];
};

// A whole run of the small suite, after `prepare` has set up the directory.
Outcome run_small_suite(const std::function<void()>& prepare) {
  ScratchDir dir;
  dir.write("suite.pgn", SMALL_SUITE);
  prepare();
  Outcome outcome{run_in_process("suite\n2600\n\n"), {}};
  outcome.run.console = without_timing(outcome.run.console);
  for (int i = 0; i < 4; ++i) outcome.reports[i] = dir.read(OTHER_REPORTS[i]);
  return outcome;
}

// The run goes on as if the report had been written; only the message after
// the match count and the exit code tell.
void expect_only_general_report_lost(const std::function<void()>& block) {
  Outcome good = run_small_suite([] {});
  ASSERT_EQ(good.run.exit_code, 0) << good.run.console;
  const std::string matches_line = "6 matches\n";  // every pair meets on both positions
  std::size_t after = good.run.console.find(matches_line);
  ASSERT_NE(after, std::string::npos) << good.run.console;
  after += matches_line.size();
  const std::string next_line = "Analysing database structure... \n";
  ASSERT_EQ(good.run.console.compare(after, next_line.size(), next_line), 0);

  Outcome failed = run_small_suite(block);
  std::string expected = good.run.console;
  expected.insert(after, "\nCannot write 'general.dat'\n");
  EXPECT_EQ(failed.run.console, expected);
  EXPECT_EQ(failed.run.exit_code, 1);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(failed.reports[i].empty()) << OTHER_REPORTS[i];
    EXPECT_EQ(failed.reports[i], good.reports[i]) << OTHER_REPORTS[i];
  }
}

TEST(ReportFailure, GeneralReportBlockedByADirectory) {
  expect_only_general_report_lost([] { fs::create_directory("general.dat"); });
}

TEST(ReportFailure, GeneralReportLinkedIntoAMissingFolder) {
  expect_only_general_report_lost(
      [] { fs::create_symlink("no_such_folder/general.dat", "general.dat"); });
}

}  // namespace
}  // namespace tarvolin::testing
