// The thread count from the environment.
#include "core/thread_count.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tarvolin {
namespace {

// Windows' C library has no setenv; an empty value there removes the name.
void set_variable(const char* value) {
#ifdef _WIN32
  _putenv_s("TARVOLIN_THREADS", value);
#else
  setenv("TARVOLIN_THREADS", value, 1);
#endif
}

void unset_variable() {
#ifdef _WIN32
  _putenv_s("TARVOLIN_THREADS", "");
#else
  unsetenv("TARVOLIN_THREADS");
#endif
}

// Huge counts stop at the cap rather than wrap round: 2^32 + 1 would be 1.
TEST(ThreadCount, OnlyAPositiveDecimalNumberCounts) {
  EXPECT_EQ(parse_thread_count("16"), 16u);
  EXPECT_EQ(parse_thread_count("0016"), 16u);
  EXPECT_EQ(parse_thread_count("256"), 256u);
  for (const char* huge : {"257", "4294967297", "99999999999999999999999999"})
    EXPECT_EQ(parse_thread_count(huge), 256u) << huge;
  for (const char* invalid : {"", "0", "000", "-3", "+3", " 3", "3 ", "3x", "1.5", "0x10", "\xff"})
    EXPECT_EQ(parse_thread_count(invalid), std::nullopt) << '"' << invalid << '"';
  EXPECT_EQ(parse_thread_count(nullptr), std::nullopt);
}

// The variable overrides the machine's count; an unusable one is as if unset.
TEST(ThreadCount, TheEnvironmentSetsTheCount) {
  const char* before = std::getenv("TARVOLIN_THREADS");
  const std::string saved = before != nullptr ? before : "";
  unset_variable();
  const unsigned machine = thread_count();
  EXPECT_GE(machine, 1u);
  EXPECT_LE(machine, 256u);
  set_variable("3");
  EXPECT_EQ(thread_count(), 3u);
  set_variable("100000");
  EXPECT_EQ(thread_count(), 256u);
  for (const char* invalid : {"0", "-1", "many", ""}) {
    set_variable(invalid);
    EXPECT_EQ(thread_count(), machine) << '"' << invalid << '"';
  }
  if (before != nullptr)
    set_variable(saved.c_str());
  else
    unset_variable();
}

}  // namespace
}  // namespace tarvolin
