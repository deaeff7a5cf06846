#include "core/report_stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

// Everything written to a temporary console so far.
std::string console_text(std::FILE* console) {
  std::fflush(console);
  std::rewind(console);
  std::string text;
  for (int c; (c = std::fgetc(console)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

// Lines across several blocks, one line far longer than a block and a
// conversion only printf knows all arrive in order; a file that cannot be
// created, and a full device whose failure shows at close for a short report
// and while printing for a long one, are announced once each and close() tells.
TEST(ReportStream, EveryByteArrivesOrTheFailureIsAnnouncedOnce) {
  ScratchDir dir;
  const std::string huge(3 * ReportStream::BLOCK + 17, 'h');
  struct Case {
    const char* file;
    int lines;
    bool announced_before_close;
  } cases[] = {{"r.dat", 150000, false},
               {"missing-folder/r.dat", 1, true},
               {"/dev/full", 3, false},
               {"/dev/full", 200000, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.lines));
    std::FILE* console = std::tmpfile();
    ReportStream out(c.file, console);
    std::string expected;
    char line[64];
    for (int i = 0; i < c.lines; ++i) {
      out.print("%5d %-6s|%6.2f %%\n", i, "name", i / 8.0);
      expected += std::string(
          line, std::snprintf(line, sizeof line, "%5d %-6s|%6.2f %%\n", i, "name", i / 8.0));
      if (i == 70000) {
        out.print("[%s]%.1e\n", huge.c_str(), 1234.5);
        expected += "[" + huge + "]1.2e+03\n";
      }
    }
    const bool writable = std::string(c.file) == "r.dat";
    const std::string announcement =
        writable ? "" : std::string("\nCannot write '") + c.file + "'\n";
    EXPECT_EQ(console_text(console), c.announced_before_close ? announcement : "");
    EXPECT_EQ(out.close(), writable);
    EXPECT_EQ(out.close(), writable);
    out.print("after the end\n");
    EXPECT_EQ(console_text(console), announcement);
    std::fclose(console);
    EXPECT_TRUE(!writable || dir.read("r.dat") == expected);
  }
}

#if !defined(__SANITIZE_ADDRESS__)
// Writes "first", a line of length characters and "last" to r.dat, capping
// the address space before the long line so that it cannot be collected in
// memory. The exit status of the child that runs it.
int write_under_a_cap(std::size_t length) {
  std::string line(length, 'x');
  ReportStream out("r.dat", stderr);
  out.print("%s\n", "first");
  long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  // Room for some small allocations, none for another copy of the line.
  const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (length / 2);
  const rlimit limit{cap, cap};
  if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0) return 2;
  out.print("%s|%d\n", line.c_str(), 7);
  out.print("%s\n", "last");
  return out.close() ? 0 : 1;
}

TEST(ReportStream, LineBeyondTheMemoryLeftStillArrives) {
  ScratchDir dir;
  const std::size_t length = 64u << 20;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child answers through its exit status only, never back into gtest.
    try {
      _exit(write_under_a_cap(length));
    } catch (...) {
      _exit(3);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(dir.read("r.dat") == "first\n" + std::string(length, 'x') + "|7\nlast\n");
}
#endif

}  // namespace
}  // namespace tarvolin
