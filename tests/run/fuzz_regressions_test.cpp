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

const fs::path FUZZ_DIR = fs::path(TARVOLIN_TEST_DATA) / ".." / ".." / "fuzz";

// Every input the fuzzers ever tripped over, and the seeds they start from.
std::vector<fs::path> replay_inputs() {
  std::vector<fs::path> inputs;
  for (const char* dir :
       {"regressions", "corpus/result_file", "corpus/offset_file", "corpus/whole_run"}) {
    if (!fs::is_directory(FUZZ_DIR / dir)) continue;
    for (const auto& entry : fs::directory_iterator(FUZZ_DIR / dir))
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
        inputs.push_back(entry.path());
  }
  return inputs;
}

// The tables are shared by every input, as in the fuzzers, so an input that
// leaves something behind that the reset misses spoils the comparison with
// fresh tables.
class FuzzReplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tables_ = new Tables();
    fresh_ = new Tables();
    console_ = std::fopen("/dev/null", "w");
  }
  static void TearDownTestSuite() {
    delete tables_;
    delete fresh_;
    std::fclose(console_);
  }
  void expect_clean_reset(const std::string& what) {
    tables_->clear();
    EXPECT_TRUE(fuzz::tables_are_fresh(*tables_, *fresh_)) << what;
  }

  static Tables* tables_;
  static Tables* fresh_;
  static std::FILE* console_;
};

Tables* FuzzReplay::tables_ = nullptr;
Tables* FuzzReplay::fresh_ = nullptr;
std::FILE* FuzzReplay::console_ = nullptr;

const char* const REPORTS[] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                               "positions.dat"};

// The five reports as one text, removing them for the next run.
std::string take_reports() {
  std::string all;
  for (const char* report : REPORTS) {
    all += std::string(report) + ":\n" + read_file(report);
    fs::remove(report);
  }
  return all;
}

TEST_F(FuzzReplay, EveryKnownInputRunsCleanlyThroughReadersAndWholeRun) {
  ScratchDir dir;
  std::vector<fs::path> inputs = replay_inputs();
  ASSERT_GE(inputs.size(), 10u);  // the seed corpus alone has more
  for (const fs::path& path : inputs) {
    const std::string bytes = read_file(path.string());
    const std::string name = path.filename().string();

    fuzz::read_result_bytes(*tables_, bytes, console_);
    EXPECT_STREQ(fuzz::broken_reader_invariant(*tables_), nullptr) << name;
    tables_->clear();

    for (const char* program : {"Alpha", "Beta2", "", "Gamma"})
      find_or_add_program(*tables_, program, nullptr);
    tables_->frozen_program_count = tables_->program_count;
    fuzz::read_offset_bytes(*tables_, bytes);
    EXPECT_EQ(tables_->program_count, 4) << name;
    tables_->clear();

    int reached = fuzz::run_whole_computation(*tables_, bytes, console_);
    if (reached == 2) {
      EXPECT_STREQ(fuzz::broken_invariant(*tables_), nullptr) << name;
    }
    std::string reused_reports = take_reports();
    // Anything the three resets missed is still there now.
    expect_clean_reset(name);

    // Whatever the reset may not know about must not show in the reports:
    // the same input on newly built tables writes the very same files.
    auto fresh = std::make_unique<Tables>();
    EXPECT_EQ(fuzz::run_whole_computation(*fresh, bytes, console_), reached) << name;
    EXPECT_EQ(take_reports(), reused_reports) << name;
  }
}

// The reset relies on no phase writing beyond the registered counts; at the
// capacities every row and column is in use, and the overflows stop the
// reading half-way through a comment.
TEST_F(FuzzReplay, ResetRestoresTablesFilledToCapacity) {
  ScratchDir dir;
  std::string programs = "[Event \"e\"]\n[FEN \"f\"]\n{";
  for (int p = 1; p <= MAX_PROGRAMS + 1; ++p)
    programs += "'P" + std::to_string(p) + "' " + std::to_string(p) + "s, ";
  EXPECT_FALSE(fuzz::read_result_bytes(*tables_, programs + "}", console_));
  EXPECT_EQ(tables_->program_count, MAX_PROGRAMS);
  expect_clean_reset("1001 programs");

  std::string positions;
  for (int q = 1; q <= MAX_POSITIONS + 1; ++q)
    positions += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'A' " +
                 std::to_string(q % 7) + "s, 'B' >3s, 'C' 2s}\n";
  EXPECT_FALSE(fuzz::read_result_bytes(*tables_, positions, console_));
  EXPECT_EQ(tables_->position_count, MAX_POSITIONS);
  expect_clean_reset("2001 positions");

  // 2000 positions and 40 programs, all of it through to the reports.
  std::string full = "[Event \"e\"]\n[FEN \"0\"]\n{";
  for (int p = 1; p <= 40; ++p) full += "'P" + std::to_string(p) + "' >9s, ";
  full += "}\n";
  for (int q = 1; q < MAX_POSITIONS; ++q)
    full += "[Event \"e\"]\n[FEN \"" + std::to_string(q) + "\"]\n{'P" + std::to_string(q % 40 + 1) +
            "' " + std::to_string(q % 5) + "s, 'P" + std::to_string((q + 1) % 40 + 1) + "' >2s}\n";
  EXPECT_EQ(fuzz::run_whole_computation(*tables_, full + "\n%Offset\n", console_), 2);
  EXPECT_EQ(tables_->position_count, MAX_POSITIONS);
  EXPECT_STREQ(fuzz::broken_invariant(*tables_), nullptr);
  expect_clean_reset("full run");
}

}  // namespace
}  // namespace tarvolin::testing
