#include "core/report_stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <tuple>

#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::read_stream;
using testing::ScratchDir;

// Lines across blocks, one far longer than a block, and a conversion only printf knows arrive in
// order; an uncreatable file and a full device (failing at close when short, while printing when
// long) are announced once each and close() tells.
TEST(ReportStream, EveryByteArrivesOrTheFailureIsAnnouncedOnce) {
  ScratchDir dir;
  const std::string huge(3 * ReportStream::BLOCK + 17, 'h');
  // file, lines, announced before close
  using Case = std::tuple<std::string, int, bool>;
  const Case cases[] = {{"r.dat", 150000, false},
                        {"missing-folder/r.dat", 1, true},
                        {"/dev/full", 3, false},
                        {"/dev/full", 200000, true}};
  for (const auto& [file, lines, announced_early] : cases) {
    std::FILE* console = std::tmpfile();
    const bool writable = file == "r.dat";
    const std::string announcement = writable ? "" : "\nCannot write '" + file + "'\n";
    std::string expected;
    ReportStream out(file.c_str(), console);
    char line[64];
    for (int i = 0; i < lines; ++i) {
      out.print("%5d %-6s|%6.2f %%\n", i, "name", i / 8.0);
      expected.append(line, std::snprintf(line, 64, "%5d %-6s|%6.2f %%\n", i, "name", i / 8.0));
      if (i == 70000) out.print("[%s]%.1e\n", huge.c_str(), 1234.5);
      if (i == 70000) expected.append("[" + huge + "]1.2e+03\n");
    }
    EXPECT_EQ(read_stream(console), announced_early ? announcement : "") << file << lines;
    EXPECT_EQ((std::array{out.close(), out.close()}), (std::array{writable, writable}));
    out.print("after the end\n");
    EXPECT_EQ(read_stream(console), announcement) << file << lines;
    std::fclose(console);
    EXPECT_TRUE(!writable || dir.read("r.dat") == expected);
  }
}

#if !defined(__SANITIZE_ADDRESS__)
// A line that no longer fits in the memory left still reaches the file: a
// child caps its address space below another copy of the line and answers
// through its exit status only.
TEST(ReportStream, LineBeyondTheMemoryLeftStillArrives) {
  ScratchDir dir;
  const std::size_t length = 64u << 20;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string line(length, 'x');
    ReportStream out("r.dat", stderr);
    out.print("%s\n", "first");
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1) _exit(2);
    const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + length / 2;
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    out.print("%s|%d\n", line.c_str(), 7);
    out.print("%s\n", "last");
    _exit(out.close() ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(dir.read("r.dat") == "first\n" + std::string(length, 'x') + "|7\nlast\n");
}
#endif

}  // namespace
}  // namespace tarvolin
