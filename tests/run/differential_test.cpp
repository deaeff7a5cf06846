// The program's optimised phases against the plain loops in tools/ on many
// generated suites, each read once and run both ways on copies of its tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "plain_loops.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/rank_index.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

// The clusters and ratings between the builder and the margins are shared
// by both sides: they give the score fractions the margins are taken around.
std::vector<double> program_phases(Tables& t, unsigned workers) {
  build_matches(t, workers);
  find_clusters(t);
  iterate_ratings(t);
  compute_error_margins(t);
  return rank_indexes(t);
}

std::vector<double> plain_phases(Tables& t) {
  plain::build_matches(t);
  find_clusters(t);
  iterate_ratings(t);
  plain::compute_error_margins(t);
  return plain::rank_indexes(t);
}

// Three sets of 45 MB each, reset by copying rather than set up per suite.
Tables& table_set(int which) {
  static const auto pristine = std::make_unique<const Tables>();
  static std::unique_ptr<Tables> sets[3];
  if (!sets[which]) sets[which] = std::make_unique<Tables>();
  return *sets[which] = *pristine;
}

template <class T>
bool same_bits(const T* a, const T* b, int n) {
  return std::memcmp(a, b, sizeof(T) * static_cast<std::size_t>(n)) == 0;
}

// Rows and columns in use and one beyond each, which must stay untouched.
template <class G>
void expect_same_grid(const char* name, const G& a, const G& b, int rows, int columns) {
  for (int row = 0; row < rows; ++row)
    if (!same_bits(a[row], b[row], columns)) {
      ADD_FAILURE() << name << " differs in row " << row;
      return;
    }
}

void expect_same_tables(const Tables& a, const Tables& b) {
  const int programs = std::min(a.program_count + 2, MAX_PROGRAMS + 1);
  const int positions = std::min(a.position_count + 2, MAX_POSITIONS + 1);
  expect_same_grid("est_time", a.est_time, b.est_time, programs, positions);
  expect_same_grid("pair_games", a.pair_games, b.pair_games, programs, programs);
  expect_same_grid("pair_score", a.pair_score, b.pair_score, programs, programs);
  expect_same_grid("pair_faster", a.pair_faster, b.pair_faster, programs, programs);
  expect_same_grid("trend_count", a.trend_count, b.trend_count, programs, 4);
  expect_same_grid("trend_sum", a.trend_sum, b.trend_sum, programs, 4);
  for (auto field : {&Tables::match_total, &Tables::match_wins, &Tables::match_draws,
                     &Tables::match_losses, &Tables::cluster_id})
    EXPECT_TRUE(same_bits((a.*field).data(), (b.*field).data(), programs));
  for (auto field : {&Tables::score_rate, &Tables::elo, &Tables::elo_margin})
    EXPECT_TRUE(same_bits((a.*field).data(), (b.*field).data(), programs));
  for (auto field : {&Tables::match_count, &Tables::invalid_count, &Tables::complete_count,
                     &Tables::tested_position_count, &Tables::cluster_count})
    EXPECT_EQ(a.*field, b.*field);
  for (auto field : {&Tables::overall_mst1, &Tables::overall_mst2, &Tables::overall_imst})
    EXPECT_TRUE(same_bits(&(a.*field), &(b.*field), 1));
}

// Reads the suite once, runs it both ways and compares. Returns the match
// count, so that callers can see the suites reached the heavy phases.
int32_t expect_same_phases(const suite::Suite& generated, const std::string& what,
                           std::vector<unsigned> worker_counts) {
  testing::ScratchDir scratch;
  scratch.write("suite.pgn", generated.results);
  scratch.write("Offset.pgn", generated.offsets);
  std::FILE* console = std::fopen("/dev/null", "w");
  Tables& read = table_set(0);
  std::FILE* file = std::fopen("suite.pgn", "r");
  {
    CharSource source(file);
    read_result_file(read, source, console);
  }
  std::fclose(file);
  read.frozen_program_count = read.program_count;
  read_offset_file(read, console);
  normalise_times(read);

  Tables& plain = table_set(1);
  plain = read;
  std::vector<double> plain_ranks = plain_phases(plain);
  for (unsigned workers : worker_counts) {
    SCOPED_TRACE(what + ", workers " + std::to_string(workers));
    Tables& program = workers == worker_counts.back() ? read : table_set(2);
    if (&program != &read) program = read;
    std::vector<double> ranks = program_phases(program, workers);
    expect_same_tables(plain, program);
    EXPECT_EQ(plain_ranks.size(), ranks.size());
    EXPECT_TRUE(same_bits(plain_ranks.data(), ranks.data(), static_cast<int>(ranks.size())))
        << "rank indexes";
  }
  std::fclose(console);
  return plain.match_count;
}

TEST(Differential, ManySmallSuitesGiveTheSameTables) {
  const double densities[] = {1.0, 1.0, 0.9, 0.6, 0.3, 0.1};
  const double limit_choices[] = {2.0, 5.0, 10.0, 30.0, 60.0, 60.0, 120.0};
  suite::Random random(20240917);
  long matches = 0, cases_with_matches = 0;
  for (int round = 0; round < 300; ++round) {
    suite::Params params;
    params.programs = 2 + random.below(14);
    params.positions = 1 + random.below(30);
    params.density = densities[random.below(6)];
    params.solved_share = 0.2 + 0.75 * random.uniform();
    params.limits.clear();
    for (int i = 0, n = 1 + random.below(3); i < n; ++i)
      params.limits.push_back(limit_choices[random.below(7)]);
    // Offsets beyond a short limit turn failures into the stored -1.0.
    params.offset_min = random.chance(0.3) ? -1.0 : 0.0;
    params.offset_max = random.chance(0.2) ? 8.0 : 1.5;
    params.offset_share = random.uniform();
    params.groups = 1 + random.below(4);
    params.tie_share = 0.2 * random.uniform();
    params.limit_share = 0.1 * random.uniform();
    params.repeat_share = random.chance(0.3) ? 0.2 : 0.0;
    params.seed = random.next();
    suite::Suite generated = suite::generate(params);
    // Oddities the generator leaves out: a program registered but never
    // tested, a position nobody was tried on.
    if (random.chance(0.3))
      generated.results = "[Event \"E\"]{'Early bird' 5s}\n" + generated.results;
    if (random.chance(0.3)) generated.results += "[Event \"x\"]\n[FEN \"nobody tried\"]\n{}\n";

    int32_t count = expect_same_phases(generated, "round " + std::to_string(round),
                                       {1u + static_cast<unsigned>(round % 3)});
    matches += count;
    cases_with_matches += count > 0;
    if (::testing::Test::HasFailure()) return;  // one case in detail is enough
  }
  EXPECT_GT(cases_with_matches, 200);
  EXPECT_GT(matches, 10000);
}

// Big enough for the builder to share the work out among threads; each
// number of them must give the same bits.
TEST(Differential, LargeSuitesGiveTheSameTablesWithOneToThreeThreads) {
  const suite::Params typical{
      .programs = 60, .positions = 300, .density = 0.9, .limits = {30, 60, 60, 120}, .seed = 11};
  const suite::Params wide{.programs = 200,
                           .positions = 200,
                           .density = 0.5,
                           .solved_share = 0.5,
                           .limits = {10, 60, 300},
                           .offset_min = -0.5,
                           .offset_max = 2.0,
                           .groups = 3,
                           .tie_share = 0.05,
                           .seed = 12};
  EXPECT_GT(expect_same_phases(suite::generate(typical), "typical", {1, 2, 3}), 0);
  EXPECT_GT(expect_same_phases(suite::generate(wide), "wide, three clusters", {1, 2, 3}), 0);
}

}  // namespace
}  // namespace tarvolin
