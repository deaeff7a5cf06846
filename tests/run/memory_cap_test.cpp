// Runs under a cap on the address space. Once the tables are set up and
// the result file read, a run must finish with the reports an uncapped run
// writes: whatever scratch the later phases cannot get, they do without.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

const char OUT_OF_MEMORY[] = "\nFAILURE - Out of memory\n";

struct Capped : RunResult {
  std::string reports[5];
};

// The binary in the current folder, its address space capped at cap_mb
// (0: no cap), answering "suite" and 2600; threads, when not empty, sets
// TARVOLIN_THREADS.
Capped run_capped(int cap_mb, const std::string& threads = "") {
  const std::string limits =
      cap_mb > 0 ? "ulimit -v " + std::to_string(cap_mb * 1024) + " && " : "";
  const std::string setting = threads.empty() ? "" : "TARVOLIN_THREADS=" + threads + " ";
  Capped run{run_binary("suite\n2600\n\n", false, limits + setting), {}};
  run.console = without_timing(run.console);
  for (int i = 0; i < 5; ++i) {
    run.reports[i] = read_file(REPORT_NAMES[i]);
    std::remove(REPORT_NAMES[i]);
  }
  return run;
}

TEST(MemoryCap, ARunPastReadingFinishesAsWithoutTheCap) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than any cap here";
#endif
  // Many programs on few positions make the builder's and the ratings'
  // scratch large beside the fixed tables; the sparse suite takes the
  // builder's other walk. Each runs with the machine's count of threads and
  // with sixteen, so that the threads' own first needs meet the cap too,
  // whatever the machine.
  suite::Params dense{.programs = 400, .positions = 200, .limits = {30.0, 60.0, 120.0}};
  suite::Params sparse = dense;
  sparse.programs = 300;
  sparse.positions = 1500;
  sparse.density = 0.05;
  for (const suite::Params& params : {dense, sparse}) {
    ScratchDir dir;
    const suite::Suite generated = suite::generate(params);
    dir.write("suite.pgn", generated.results);
    dir.write("Offset.pgn", generated.offsets);
    const Capped free = run_capped(0);
    ASSERT_EQ(free.exit_code, 0) << free.console;
    const std::string read_through = std::to_string(params.positions) + " positions\n";

    for (const char* threads : {"", "16"}) {
      SCOPED_TRACE(std::string("TARVOLIN_THREADS=") + threads);
      int set_up_failures = 0, completions = 0;
      for (int cap_mb = 40; cap_mb <= 70; cap_mb += 3) {
        const Capped capped = run_capped(cap_mb, threads);
        const std::size_t stop = capped.console.find(OUT_OF_MEMORY);
        if (stop == std::string::npos) {
          ++completions;
          EXPECT_EQ(capped.exit_code, 0) << cap_mb << " MB";
          EXPECT_EQ(capped.console, free.console) << cap_mb << " MB";
          for (int i = 0; i < 5; ++i)
            EXPECT_EQ(capped.reports[i], free.reports[i]) << REPORT_NAMES[i];
          continue;
        }
        EXPECT_EQ(capped.exit_code, 1) << cap_mb << " MB";
        set_up_failures += capped.console == OUT_OF_MEMORY;
        // Reading keeps the file's names and positions: only a run that has
        // not got past them may stop.
        EXPECT_EQ(capped.console.substr(0, stop).find(read_through), std::string::npos)
            << cap_mb << " MB:\n"
            << capped.console.substr(stop > 300 ? stop - 300 : 0);
      }
      EXPECT_GT(set_up_failures, 0) << "no cap too small for the tables";
      EXPECT_GT(completions, 0) << "no cap large enough for the run";
    }
  }
}

}  // namespace
}  // namespace tarvolin::testing
