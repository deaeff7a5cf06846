// The match builder shares the programs out among threads: the tables it
// leaves must not depend on how many.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "input/char_source.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

// The tables as the run hands them to the builder.
std::unique_ptr<Tables> normalised(const suite::Suite& generated) {
  ScratchDir dir;
  dir.write("suite.pgn", generated.results);
  dir.write("Offset.pgn", generated.offsets);
  auto t = std::make_unique<Tables>();
  std::FILE* console = std::tmpfile();
  std::FILE* file = std::fopen("suite.pgn", "r");
  EXPECT_NE(file, nullptr);
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

template <class T>
bool same_bits(const T* a, const T* b, int count) {
  return std::memcmp(a, b, sizeof(T) * static_cast<std::size_t>(count)) == 0;
}

template <class T>
bool same_bits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && same_bits(a.data(), b.data(), static_cast<int>(a.size()));
}

void expect_same_matches(const Tables& a, const Tables& b) {
  const int programs = a.program_count + 1, positions = a.position_count + 1;
  for (int p = 0; p < programs; ++p) {
    SCOPED_TRACE(p);
    EXPECT_TRUE(same_bits(a.est_time[p], b.est_time[p], positions));
    EXPECT_TRUE(same_bits(a.pair_games[p], b.pair_games[p], programs));
    EXPECT_TRUE(same_bits(a.pair_score[p], b.pair_score[p], programs));
    EXPECT_TRUE(same_bits(a.pair_faster[p], b.pair_faster[p], programs));
    EXPECT_TRUE(same_bits(a.trend_count[p], b.trend_count[p], 4));
    EXPECT_TRUE(same_bits(a.trend_sum[p], b.trend_sum[p], 4));
  }
  EXPECT_TRUE(same_bits(a.match_total, b.match_total));
  EXPECT_TRUE(same_bits(a.match_wins, b.match_wins));
  EXPECT_TRUE(same_bits(a.match_draws, b.match_draws));
  EXPECT_TRUE(same_bits(a.match_losses, b.match_losses));
  EXPECT_TRUE(same_bits(a.margin_squares, b.margin_squares));
  EXPECT_TRUE(same_bits(a.margin_rate, b.margin_rate));
  EXPECT_EQ(a.match_count, b.match_count);
  EXPECT_EQ(a.invalid_count, b.invalid_count);
  EXPECT_EQ(a.complete_count, b.complete_count);
  EXPECT_TRUE(same_bits(&a.overall_imst, &b.overall_imst, 1));
}

TEST(MatchWorkers, AnyNumberOfThreadsFillsTheSameTables) {
  // Every program on every position, and one in ten cells: the two ways the
  // builder walks the matches. Ties, solutions at the limit and mixed
  // limits give runs of equal times.
  for (double density : {1.0, 0.1}) {
    SCOPED_TRACE(density);
    suite::Params params;
    params.programs = 70;
    params.positions = 300;
    params.density = density;
    params.limits = {10.0, 60.0, 60.0};
    params.offset_min = -1.0;
    params.offset_max = 2.0;
    params.tie_share = 0.2;
    params.limit_share = 0.05;
    params.seed = density == 1.0 ? 5 : 6;
    const auto base = normalised(suite::generate(params));

    auto one = std::make_unique<Tables>(*base);
    build_matches(*one, 1);
    EXPECT_GT(one->match_count, 1000);
    auto many = std::make_unique<Tables>();
    for (unsigned workers : {2u, 3u}) {
      *many = *base;
      build_matches(*many, workers);
      expect_same_matches(*one, *many);
    }
  }
}

}  // namespace
}  // namespace tarvolin
