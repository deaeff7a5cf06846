#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

// A report that cannot be written is announced when it is opened and
// skipped; every other report is still written whole, the run reaches its
// end, and only the exit code tells a script that something is missing.
TEST(LateReportFailure, EachReportFailsOnItsOwn) {
  const fs::path folder = fs::path(TARVOLIN_TEST_DATA) / "e2e_small";
  const fs::path expected = folder / "expected";
  const std::string reports[] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                                 "positions.dat"};
  for (const std::string blocked : {"rating.dat", "programs.dat", "positions.dat"}) {
    SCOPED_TRACE(blocked);
    ScratchDir dir;
    dir.write("small.pgn", read_file((folder / "small.pgn").string()));
    dir.write("Offset.pgn", read_file((folder / "Offset.pgn").string()));
    fs::create_directory(fs::path(dir.path()) / blocked);

    RunResult result = run_binary(read_file((folder / "answers.txt").string()));
    EXPECT_EQ(result.exit_code, 1);
    // The three late reports are all opened after the iteration count and
    // before the timing line.
    std::string console = read_file((expected / "console.txt").string());
    console.insert(console.find("CPU time = "), "\nCannot write '" + blocked + "'\n");
    EXPECT_EQ(without_timing(result.console), console);
    for (const std::string& report : reports) {
      if (report == blocked) continue;
      EXPECT_EQ(dir.read(report), read_file((expected / report).string())) << report;
    }
    EXPECT_TRUE(fs::is_directory(fs::path(dir.path()) / blocked));
  }
}

}  // namespace
}  // namespace tarvolin::testing
