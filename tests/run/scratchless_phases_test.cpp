// The phases after reading, run in a child whose address space is capped
// at what it already holds: the builder, the ratings and the opponent
// tallies then take their paths without scratch, and must leave the same
// bits as with all the memory they want.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "input/char_source.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/iterate_ratings.h"
#include "reports/program_report.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// The tables of a generated suite as the run hands them to the builder.
std::unique_ptr<Tables> normalised(const suite::Params& params) {
  ScratchDir dir;
  const suite::Suite generated = suite::generate(params);
  dir.write("suite.pgn", generated.results);
  dir.write("Offset.pgn", generated.offsets);
  auto t = std::make_unique<Tables>();
  std::FILE* console = std::tmpfile();
  std::FILE* file = std::fopen("suite.pgn", "r");
  {
    CharSource source(file);
    read_result_file(*t, source, console);
  }
  std::fclose(file);
  t->frozen_program_count = t->program_count;
  read_offset_file(*t, console);
  std::fclose(console);
  normalise_times(*t);
  return t;
}

void build_and_rate(Tables& t) {
  build_matches(t, 2);
  find_clusters(t);
  iterate_ratings(t);
}

template <class T>
bool same(const T* a, const T* b, int count) {
  return std::memcmp(a, b, sizeof(T) * static_cast<std::size_t>(count)) == 0;
}

// Every entry the builder and the ratings fill, bit for bit.
bool same_results(Tables& a, Tables& b) {
  const int n = a.program_count + 1;
  bool same_tables =
      a.match_count == b.match_count && a.invalid_count == b.invalid_count &&
      a.complete_count == b.complete_count && a.tested_position_count == b.tested_position_count &&
      same(&a.overall_mst1, &b.overall_mst1, 1) && same(&a.overall_mst2, &b.overall_mst2, 1) &&
      same(&a.overall_imst, &b.overall_imst, 1);
  for (int p = 1; p < n; ++p) {
    same_tables =
        same_tables && same(a.pair_games[p], b.pair_games[p], n) &&
        same(a.pair_score[p], b.pair_score[p], n) && same(a.pair_faster[p], b.pair_faster[p], n) &&
        same(a.trend_count[p], b.trend_count[p], 4) && same(a.trend_sum[p], b.trend_sum[p], 4);
  }
  for (auto column : {&Tables::match_wins, &Tables::match_draws, &Tables::match_losses})
    same_tables = same_tables && same((a.*column).data(), (b.*column).data(), n);
  for (auto column :
       {&Tables::margin_squares, &Tables::margin_rate, &Tables::elo, &Tables::avg_opponent_elo})
    same_tables = same_tables && same((a.*column).data(), (b.*column).data(), n);
  // The opponent lines' tallies, read through their copy or in place.
  const OpponentTallies tallies(b);
  for (int p = 1; p < n; ++p)
    for (int r = 1; r < n; ++r)
      same_tables = same_tables && tallies.losses(p, r) == a.pair_faster[r][p] &&
                    same(&a.pair_score[r][p], &b.pair_score[r][p], 1) &&
                    tallies.opponent_score(p, r) == b.pair_score[r][p];
  return same_tables;
}

// With little or no memory left beyond what the tables hold, the builder,
// the ratings and the opponent tallies take their paths without scratch.
TEST(MemoryCap, PhasesWithoutScratchGiveTheSameBits) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than any cap here";
#endif
  const auto base = normalised({.programs = 120, .positions = 300, .limits = {30.0, 60.0}});
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
      long pages = 0;
      std::FILE* statm = std::fopen("/proc/self/statm", "r");
      if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1) _exit(2);
      std::fclose(statm);
      const rlim_t cap = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE));
      const rlimit limit{cap, cap};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
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
}  // namespace tarvolin::testing
