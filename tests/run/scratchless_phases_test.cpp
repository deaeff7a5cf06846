// The phases after reading, run in a child whose address space is capped
// at what it already holds: the builder, the ratings and the opponent
// tallies then take their paths without scratch, and must leave the same
// bits as with all the memory they want.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "../../fuzz/fuzz_support.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "reports/program_report.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

void build_and_rate(Tables& t) {
  build_matches(t, 2);
  find_clusters(t);
  iterate_ratings(t);
}

// Every table, and the opponent lines' tallies read through their copy or in place.
bool same_results(const Tables& a, const Tables& b) {
  const OpponentTallies tallies(b);
  bool same = fuzz::first_difference(a, b) == 0;
  for (int p = 1; p <= a.program_count; ++p)
    for (int r = 1; r <= a.program_count; ++r)
      same = same && tallies.losses(p, r) == a.pair_faster[r][p] &&
             fuzz::same(tallies.opponent_score(p, r), a.pair_score[r][p]);
  return same;
}

// With little or no memory left beyond what the tables hold, the builder,
// the ratings and the opponent tallies take their paths without scratch.
TEST(MemoryCap, PhasesWithoutScratchGiveTheSameBits) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than any cap here";
#endif
  const suite::Suite generated =
      suite::generate({.programs = 120, .positions = 300, .limits = {30.0, 60.0}});
  auto base = std::make_unique<Tables>();
  std::FILE* const console = std::fopen("/dev/null", "w");
  fuzz::read_suite_bytes(*base, generated.results, generated.offsets, console);
  std::fclose(console);
  normalise_times(*base);
  auto reference = std::make_unique<Tables>(*base);
  build_and_rate(*reference);
  for (const long slack : {16L << 10, 256L << 10, 4L << 20}) {
    auto capped = std::make_unique<Tables>(*base);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // The child answers through its exit status only, never into gtest.
      // No new mappings, and the heap's free space taken up but for the
      // slack.
      std::vector<void*> held;
      held.reserve(std::size_t{1} << 20);
      if (!testing::cap_address_space(0)) _exit(2);
      while (held.size() < held.capacity()) {
        void* block = std::malloc(4096);
        if (block == nullptr) break;
        held.push_back(block);
      }
      for (long freed = 0; freed < slack && !held.empty(); freed += 4096) {
        std::free(held.back());
        held.pop_back();
      }
      try {
        build_and_rate(*capped);
        _exit(same_results(*reference, *capped) ? 0 : 1);
      } catch (...) {
        _exit(3);
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << slack;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "slack " << slack << " (1: other bits, 3: stopped)";
  }
}

}  // namespace
}  // namespace tarvolin
