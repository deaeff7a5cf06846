// The reports written on several threads against one, and the writer
// taking over what the helpers could not format.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "../../fuzz/fuzz_support.h"
#include "core/report_stream.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/position_report.h"
#include "reports/rating_report.h"
#include "reports/sections_in_order.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

// Enough programs and positions for each report to come in more groups
// than two or three threads take at once, and three clusters for the
// rating list's headers.
TEST(ReportWorkers, AnyNumberOfThreadsWriteTheSameBytes) {
  suite::Params params;
  params.programs = 240;
  params.positions = 150;
  params.density = 0.8;
  params.groups = 3;
  params.seed = 5;
  const suite::Suite generated = suite::generate(params);
  auto t = std::make_unique<Tables>();
  std::FILE* console = testing::temporary_file();
  fuzz::read_suite_bytes(*t, generated.results, generated.offsets, console);
  normalise_times(*t);
  build_matches(*t);
  ASSERT_EQ(find_clusters(*t), 3);
  iterate_ratings(*t);
  compute_error_margins(*t);

  ScratchDir dir;
  std::string single[3];
  for (unsigned workers : {1u, 2u, 3u, 8u, 16u, 3u}) {
    const ReportOutcome outcome = write_rating_report(*t, console, workers);
    EXPECT_TRUE(outcome.rating_written && outcome.programs_written);
    EXPECT_TRUE(write_position_report(*t, console, workers));
    const std::string files[3] = {dir.read("rating.dat"), dir.read("programs.dat"),
                                  dir.read("positions.dat")};
    EXPECT_GT(files[1].size(), ReportStream::BLOCK);  // across blocks of the stream
    for (int f = 0; f < 3; ++f) {
      if (workers == 1) single[f] = files[f];
      EXPECT_TRUE(files[f] == single[f]) << "file " << f << ", workers " << workers;
    }
  }
  EXPECT_EQ(testing::read_stream(console).find("Cannot"), std::string::npos);
  std::fclose(console);
}

// Sections of uneven length, so that text handed on from the wrong slot or
// out of order shows.
void print_section(ReportStream& to, int i) {
  to.print("section %d%.*s\n", i, i % 13, ".............");
}

std::string sections_one_after_another(int count) {
  std::string expected;
  for (int i = 0; i < count; ++i)
    expected += "section " + std::to_string(i) + std::string(i % 13, '.') + "\n";
  return expected;
}

// The odd helpers fail at every section they format, the even ones format
// theirs; the writer formats again what failed, and the file still holds
// each section once, in order. The writer waits in its first section until
// a helper has taken one.
TEST(ReportWorkers, WriterFormatsWhatTheHelpersCouldNot) {
#ifdef _WIN32
  GTEST_SKIP() << "the failure comes from printf, and the Windows C library's takes a field "
                  "wider than INT_MAX";
#endif
  const std::string too_wide = std::string("%").append(std::to_string(2147483648L)).append("d");
  for (unsigned workers : {2u, 3u, 8u, 16u}) {
    for (int group : {1, 7, 1000}) {
      ScratchDir dir;
      std::atomic<bool> helped{false};
      std::atomic<unsigned> last_worker{0};
      {
        ReportStream out("s.dat", stderr);
        write_sections_in_order(
            out, 600, group, workers, [&](ReportStream& to, int i, unsigned worker) {
              const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
              while (worker == 0 && i == 0 && group < 600 && !helped &&
                     std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
              if (worker != 0) helped = true;
              for (unsigned seen = last_worker; worker > seen;)
                last_worker.compare_exchange_weak(seen, worker);
              if (worker % 2 == 1) to.print(too_wide.c_str(), i);
              print_section(to, i);
            });
        EXPECT_TRUE(out.close());
      }
      SCOPED_TRACE("workers " + std::to_string(workers) + ", group " + std::to_string(group));
      EXPECT_TRUE(dir.read("s.dat") == sections_one_after_another(600));
      EXPECT_EQ(helped, group < 600);
      EXPECT_LT(last_worker, workers);  // each thread's scratch is one of workers
    }
  }
}

// However many threads are asked for, the helpers' text stays within 16
// slots: the writer waits until the sixteenth helper has taken a group, by
// when any further one would have taken its own.
TEST(ReportWorkers, SixteenHelpersAtMost) {
  ScratchDir dir;
  std::atomic<unsigned> last_worker{0};
  {
    ReportStream out("s.dat", stderr);
    write_sections_in_order(out, 600, 1, 64, [&](ReportStream& to, int i, unsigned worker) {
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (worker == 0 && i == 0 && last_worker < 16 && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
      for (unsigned seen = last_worker; worker > seen;)
        last_worker.compare_exchange_weak(seen, worker);
      print_section(to, i);
    });
    EXPECT_TRUE(out.close());
  }
  EXPECT_TRUE(dir.read("s.dat") == sections_one_after_another(600));
  EXPECT_EQ(last_worker, 16u);
}

}  // namespace
}  // namespace tarvolin
