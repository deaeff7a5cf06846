// The thread count from the environment, and the budget that trims it.
#include "core/thread_count.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tarvolin {
namespace {

TEST(ThreadCount, OnlyAPositiveDecimalNumberCounts) {
  EXPECT_EQ(parse_thread_count("1"), 1u);
  EXPECT_EQ(parse_thread_count("16"), 16u);
  EXPECT_EQ(parse_thread_count("0016"), 16u);
  EXPECT_EQ(parse_thread_count("256"), 256u);
  for (const char* invalid :
       {"", "0", "000", "-3", "+3", " 3", "3 ", "3x", "x3", "1.5", "0x10", "\xff"}) {
    EXPECT_EQ(parse_thread_count(invalid), std::nullopt) << '"' << invalid << '"';
  }
  EXPECT_EQ(parse_thread_count(nullptr), std::nullopt);
}

TEST(ThreadCount, HugeCountsStopAtTheCap) {
  EXPECT_EQ(parse_thread_count("257"), 256u);
  EXPECT_EQ(parse_thread_count("4294967297"), 256u);  // 2^32 + 1 wraps to 1 in 32 bits
  EXPECT_EQ(parse_thread_count(std::string(5000, '9').c_str()), 256u);
}

// The variable overrides the machine's count; an unusable one is as if unset.
TEST(ThreadCount, TheEnvironmentSetsTheCount) {
  const char* before = std::getenv("TARVOLIN_THREADS");
  const std::string saved = before != nullptr ? before : "";
  unsetenv("TARVOLIN_THREADS");
  const unsigned machine = thread_count();
  EXPECT_GE(machine, 1u);
  EXPECT_LE(machine, 256u);
  setenv("TARVOLIN_THREADS", "3", 1);
  EXPECT_EQ(thread_count(), 3u);
  setenv("TARVOLIN_THREADS", "100000", 1);
  EXPECT_EQ(thread_count(), 256u);
  for (const char* invalid : {"0", "-1", "many", ""}) {
    setenv("TARVOLIN_THREADS", invalid, 1);
    EXPECT_EQ(thread_count(), machine) << '"' << invalid << '"';
  }
  if (before != nullptr)
    setenv("TARVOLIN_THREADS", saved.c_str(), 1);
  else
    unsetenv("TARVOLIN_THREADS");
}

TEST(ThreadCount, TheBudgetTrimsButNeverToNone) {
  const std::size_t mb = std::size_t{1} << 20;
  EXPECT_EQ(workers_within(16, 20 * mb, 40 * mb), 2u);
  EXPECT_EQ(workers_within(16, 20 * mb + 1, 40 * mb), 1u);
  EXPECT_EQ(workers_within(16, 100 * mb, 40 * mb), 1u);  // one runs whatever it holds
  EXPECT_EQ(workers_within(3, 1, 40 * mb), 3u);
  EXPECT_EQ(workers_within(8, 0, 40 * mb), 8u);  // no scratch, nothing to trim
  EXPECT_EQ(workers_within(0, mb, 40 * mb), 0u);
}

}  // namespace
}  // namespace tarvolin
