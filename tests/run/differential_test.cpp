// The program's optimised phases against the plain loops in tools/ on many
// generated suites, each read once and run both ways on copies of its tables.
#include <gtest/gtest.h>

#include <memory>

#include "../../fuzz/fuzz_support.h"
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

// Two sets of 45 MB each, cleared between suites rather than set up anew.
Tables& cleared_set(int which) {
  static std::unique_ptr<Tables> sets[2];
  if (!sets[which]) sets[which] = std::make_unique<Tables>();
  sets[which]->clear();
  return *sets[which];
}

// Runs the suite both ways, each on its own reading of it; returns the match count.
int32_t expect_same_phases(const suite::Suite& generated, const std::string& what,
                           std::vector<unsigned> worker_counts) {
  static std::FILE* const console = testing::null_console();
  auto read = [&](int which) -> Tables& {
    Tables& t = cleared_set(which);
    fuzz::read_suite_bytes(t, generated.results, generated.offsets, console);
    normalise_times(t);
    return t;
  };
  Tables& plain = read(0);
  std::vector<double> plain_ranks = plain_phases(plain);
  for (unsigned workers : worker_counts) {
    SCOPED_TRACE(what + ", workers " + std::to_string(workers));
    Tables& program = read(1);
    std::vector<double> ranks = program_phases(program, workers);
    // The margin sums are by-products of the builder that the plain loops leave out.
    plain.margin_squares = program.margin_squares;
    plain.margin_rate = program.margin_rate;
    EXPECT_EQ(fuzz::first_difference(plain, program), 0) << "place in the list of tables";
    EXPECT_TRUE(fuzz::same(plain_ranks, ranks));
  }
  return plain.match_count;
}

TEST(Differential, ManySmallSuitesGiveTheSameTables) {
  const double densities[] = {1.0, 1.0, 0.9, 0.6, 0.3, 0.1};
  const double limit_choices[] = {2.0, 5.0, 10.0, 30.0, 60.0, 60.0, 120.0};
  suite::Random random(20240917);
  long matches = 0, cases_with_matches = 0;  // the suites must reach the heavy phases
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

    const unsigned workers[] = {1, 2, 3, 8, 16};
    int32_t count =
        expect_same_phases(generated, "round " + std::to_string(round), {workers[round % 5]});
    matches += count;
    cases_with_matches += count > 0;
    if (::testing::Test::HasFailure()) return;  // one case in detail is enough
  }
  EXPECT_GT(cases_with_matches, 200);
  EXPECT_GT(matches, 10000);
}

// Big enough for the builder to share the work out among threads; each
// number of them must give the same bits, more of them than there are
// cores included.
TEST(Differential, LargeSuitesGiveTheSameTablesWithAnyNumberOfThreads) {
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
                           .seed = 12};  // three clusters
  const std::vector<unsigned> workers = {1, 2, 3, 8, 16};
  EXPECT_GT(expect_same_phases(suite::generate(typical), "typical", workers), 0);
  EXPECT_GT(expect_same_phases(suite::generate(wide), "wide, three clusters", workers), 0);
}

}  // namespace
}  // namespace tarvolin
