#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../fuzz/fuzz_support.h"
#include "input/registries.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

// The tables are shared by every input, as in the fuzzers, so that anything
// a run leaves behind which clear() misses shows against fresh tables.
struct Shared {
  Tables& tables = *new Tables();
  const Tables& fresh = *new Tables();
  std::FILE* console = std::fopen("/dev/null", "w");
};
Shared& shared() {
  static Shared s;
  return s;
}

void expect_clean_reset(const std::string& what) {
  shared().tables.clear();
  EXPECT_EQ(fuzz::first_difference(shared().tables, shared().fresh), 0) << what;
}

// The five reports as one text, removing them for the next run.
std::string take_reports() {
  std::string all;
  for (const char* report : REPORT_NAMES) {
    all += std::string(report) + ":\n" + read_file(report);
    fs::remove(report);
  }
  return all;
}

// Every input the fuzzers ever tripped over, and the seeds they start from.
TEST(FuzzReplay, EveryKnownInputRunsCleanlyThroughReadersAndWholeRun) {
  ScratchDir dir;
  const fs::path fuzz_dir = fs::path(TARVOLIN_TEST_DATA) / ".." / ".." / "fuzz";
  std::vector<fs::path> inputs;
  for (const char* sub :
       {"regressions", "corpus/result_file", "corpus/offset_file", "corpus/whole_run"})
    if (fs::is_directory(fuzz_dir / sub))
      for (const auto& entry : fs::directory_iterator(fuzz_dir / sub))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
          inputs.push_back(entry.path());
  ASSERT_GE(inputs.size(), 10u);  // the seed corpus alone has more
  Tables& t = shared().tables;
  for (const fs::path& path : inputs) {
    const std::string bytes = read_file(path.string());
    const std::string name = path.filename().string();

    fuzz::read_result_bytes(t, bytes, shared().console);
    EXPECT_STREQ(fuzz::broken_reader_invariant(t), nullptr) << name;
    t.clear();

    for (const char* program : {"Alpha", "Beta2", "", "Gamma"})
      find_or_add_program(t, program, nullptr);
    t.frozen_program_count = t.program_count;
    fuzz::read_offset_bytes(t, bytes);
    EXPECT_EQ(t.program_count, 4) << name;
    t.clear();

    int reached = fuzz::run_whole_computation(t, bytes, shared().console);
    if (reached == 2) {
      EXPECT_STREQ(fuzz::broken_invariant(t), nullptr) << name;
    }
    std::string reused_reports = take_reports();
    expect_clean_reset(name);  // anything the three resets missed is still there

    // The same input on newly built tables writes the very same files.
    auto fresh = std::make_unique<Tables>();
    EXPECT_EQ(fuzz::run_whole_computation(*fresh, bytes, shared().console), reached) << name;
    EXPECT_EQ(take_reports(), reused_reports) << name;
  }
}

// clear() relies on no phase writing beyond the registered counts; at the
// capacities every row and column is in use, and the overflows stop the
// reading half-way through a comment.
TEST(FuzzReplay, ResetRestoresTablesFilledToCapacity) {
  ScratchDir dir;
  Tables& t = shared().tables;
  std::string programs = "[Event \"e\"]\n[FEN \"f\"]\n{";
  for (int p = 1; p <= MAX_PROGRAMS + 1; ++p)
    programs += "'P" + std::to_string(p) + "' " + std::to_string(p) + "s, ";
  EXPECT_FALSE(fuzz::read_result_bytes(t, programs + "}", shared().console));
  EXPECT_EQ(t.program_count, MAX_PROGRAMS);
  expect_clean_reset("1001 programs");

  std::string positions;
  for (int q = 1; q <= MAX_POSITIONS + 1; ++q)
    positions += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'A' " +
                 std::to_string(q % 7) + "s, 'B' >3s, 'C' 2s}\n";
  EXPECT_FALSE(fuzz::read_result_bytes(t, positions, shared().console));
  EXPECT_EQ(t.position_count, MAX_POSITIONS);
  expect_clean_reset("2001 positions");

  // 2000 positions and 40 programs, all of it through to the reports.
  std::string full = "[Event \"e\"]\n[FEN \"0\"]\n{";
  for (int p = 1; p <= 40; ++p) full += "'P" + std::to_string(p) + "' >9s, ";
  full += "}\n";
  for (int q = 1; q < MAX_POSITIONS; ++q)
    full += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'P" + std::to_string(q % 40 + 1) +
            "' " + std::to_string(q % 5) + "s, 'P" + std::to_string((q + 1) % 40 + 1) + "' >2s}\n";
  EXPECT_EQ(fuzz::run_whole_computation(t, full + "\n%Offset\n", shared().console), 2);
  EXPECT_EQ(t.position_count, MAX_POSITIONS);
  EXPECT_STREQ(fuzz::broken_invariant(t), nullptr);
  expect_clean_reset("full run");
}

}  // namespace
}  // namespace tarvolin::testing
