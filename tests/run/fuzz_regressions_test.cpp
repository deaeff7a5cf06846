#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../../fuzz/fuzz_support.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

// One set of tables serves every input, as in the fuzzers, so that anything
// a run leaves behind which clear() misses shows against fresh tables.
Tables& shared = *new Tables();
std::FILE* const console = null_console();

void expect_clean_reset(const std::string& what) {
  static const Tables& fresh = *new Tables();
  shared.clear();
  EXPECT_EQ(fuzz::first_difference(shared, fresh), 0) << what;
}

// The five reports as one text, removing them for the next run.
std::string take_reports() {
  std::string all;
  for (const char* report : REPORT_NAMES)
    all.append(report).append(":\n").append(read_file(report)), fs::remove(report);
  return all;
}

// Every input the fuzzers ever tripped over, and the seeds they start from.
TEST(FuzzReplay, EveryKnownInputRunsCleanlyThroughReadersAndWholeRun) {
  ScratchDir dir;
  const fs::path fuzz_dir = fs::path(TARVOLIN_TEST_DATA) / ".." / ".." / "fuzz";
  int inputs = 0;
  Tables& t = shared;
  for (const char* sub : {"regressions", "corpus"})
    for (const auto& entry : fs::recursive_directory_iterator(fuzz_dir / sub)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name[0] == '.') continue;
      ++inputs;
      const std::string bytes = read_file(entry.path().string());
      EXPECT_STREQ(fuzz::broken_by_readers(t, bytes, console), nullptr) << name;
      t.clear();
      const int reached = fuzz::run_whole_computation(t, bytes, console);
      EXPECT_TRUE(reached < 2 || fuzz::broken_invariant(t) == nullptr) << name;
      const std::string reused_reports = take_reports();
      expect_clean_reset(name);  // anything the three resets missed is still there
      // The same input on newly built tables writes the very same files.
      EXPECT_EQ(fuzz::run_whole_computation(*std::make_unique<Tables>(), bytes, console), reached);
      EXPECT_EQ(take_reports(), reused_reports) << name;
    }
  EXPECT_GE(inputs, 10);  // the seed corpus alone has more
}

// clear() relies on no phase writing beyond the registered counts; at the
// capacities every row and column is in use, and the overflows stop the
// reading half-way through a comment.
TEST(FuzzReplay, ResetRestoresTablesFilledToCapacity) {
  ScratchDir dir;
  Tables& t = shared;
  std::string programs = "[Event \"e\"]\n[FEN \"f\"]\n{", positions, full;
  for (int p = 1; p <= MAX_PROGRAMS + 1; ++p) programs += "'P" + std::to_string(p) + "' 1s, ";
  EXPECT_FALSE(fuzz::read_result_bytes(t, programs + "}", console));
  EXPECT_EQ(t.program_count, MAX_PROGRAMS);
  expect_clean_reset("1001 programs");

  for (int q = 1; q <= MAX_POSITIONS + 1; ++q)
    positions += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'A' " +
                 std::to_string(q % 7) + "s, 'B' >3s, 'C' 2s}\n";
  EXPECT_FALSE(fuzz::read_result_bytes(t, positions, console));
  EXPECT_EQ(t.position_count, MAX_POSITIONS);
  expect_clean_reset("2001 positions");

  // 2000 positions and 40 programs, all of it through to the reports.
  full = "[Event \"e\"]\n[FEN \"0\"]\n{";
  for (int p = 1; p <= 40; ++p) full += "'P" + std::to_string(p) + "' >9s, ";
  full += "}\n";
  for (int q = 1; q < MAX_POSITIONS; ++q)
    full += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'P" + std::to_string(q % 40 + 1) +
            "' " + std::to_string(q % 5) + "s, 'P" + std::to_string((q + 1) % 40 + 1) + "' >2s}\n";
  EXPECT_EQ(fuzz::run_whole_computation(t, full + "\n%Offset\n", console), 2);
  EXPECT_EQ(t.position_count, MAX_POSITIONS);
  EXPECT_STREQ(fuzz::broken_invariant(t), nullptr);
  expect_clean_reset("full run");
}

}  // namespace
}  // namespace tarvolin::testing
