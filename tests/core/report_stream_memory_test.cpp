// A report line larger than the memory left, in a forked child: POSIX only.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/report_stream.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

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
    if (!testing::cap_address_space(length / 2)) _exit(2);
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
