// The program's phases against the plain loops in tests/reference on many
// generated suites: every table must hold the same bits and every report and
// console line the same bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/run_abort.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reference/reference.h"
#include "reports/cluster_report.h"
#include "reports/general_report.h"
#include "reports/position_report.h"
#include "reports/rating_report.h"
#include "suite_generator.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::read_file;
using testing::ScratchDir;

const char* const REPORTS[] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                               "positions.dat"};

struct Outcome {
  Tables* tables;
  std::string console;
};

// Fresh tables for every run without paying for fresh pages every time: two
// working sets are reset from a pristine copy.
Tables& fresh_tables(bool reference) {
  static const auto pristine = std::make_unique<const Tables>();
  static const auto for_reference = std::make_unique<Tables>();
  static const auto for_program = std::make_unique<Tables>();
  Tables& tables = reference ? *for_reference : *for_program;
  tables = *pristine;
  return tables;
}

std::string drain(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// The run's phases in their order, in the current directory, which holds
// "suite.pgn" and "Offset.pgn".
// workers 0: the builder's own choice.
void run_phases(Tables& t, bool reference, unsigned workers, std::FILE* out) {
  t.database_name = "suite.pgn";
  std::FILE* file = std::fopen(t.database_name.c_str(), "r");
  ASSERT_NE(file, nullptr);
  if (reference) {
    reference::read_result_file(t, file, out);
  } else {
    CharSource source(file);
    read_result_file(t, source, out);
  }
  std::fclose(file);
  if (t.program_count < 2 || t.position_count < 1) return;
  t.frozen_program_count = t.program_count;

  if (reference)
    reference::read_offset_file(t, out);
  else
    read_offset_file(t, out);
  if (reference)
    reference::normalise_times(t);
  else
    normalise_times(t);
  if (reference)
    reference::build_matches(t);
  else if (workers == 0)
    build_matches(t);
  else
    build_matches(t, workers);
  write_general_report(t, out);
  std::fprintf(out, "%d cluster(s)\n", find_clusters(t));
  write_cluster_report(t, out);
  std::fprintf(out, "%d iterations\n", iterate_ratings(t));
  if (reference) {
    reference::compute_error_margins(t);
    reference::write_rating_report(t, out);
    reference::write_position_report(t, out);
  } else {
    compute_error_margins(t);
    write_rating_report(t, out);
    write_position_report(t, out);
  }
}

Outcome run_in(const std::string& directory, bool reference, unsigned workers = 0) {
  Outcome outcome{&fresh_tables(reference), ""};
  EXPECT_EQ(chdir(directory.c_str()), 0);
  std::FILE* out = std::tmpfile();
  try {
    run_phases(*outcome.tables, reference, workers, out);
  } catch (const RunAbort& abort) {
    std::fprintf(out, "%s", abort.message.c_str());
  }
  outcome.console = drain(out);
  EXPECT_EQ(chdir(".."), 0);
  return outcome;
}

// First differing element of two arrays, bit for bit; -1 when equal.
template <class T>
long first_difference(const T* a, const T* b, long n) {
  for (long i = 0; i < n; ++i)
    if (std::memcmp(a + i, b + i, sizeof(T)) != 0) return i;
  return -1;
}

template <class T>
void expect_same(const char* name, const std::vector<T>& a, const std::vector<T>& b) {
  ASSERT_EQ(a.size(), b.size()) << name;
  long i = first_difference(a.data(), b.data(), static_cast<long>(a.size()));
  EXPECT_EQ(i, -1) << name << " differs first at [" << i << "]";
}

// The used rows and columns of a grid and one beyond each, which must be
// left as they were.
template <class T, class U>
void expect_same(const char* name, const U& a, const U& b, int rows, int columns) {
  for (int row = 0; row < rows; ++row) {
    long i = first_difference<T>(a[row], b[row], columns);
    if (i != -1) {
      ADD_FAILURE() << name << " differs first at [" << row << "][" << i << "]";
      return;
    }
  }
}

void expect_same_strings(const char* name, const std::vector<std::string>& a,
                         const std::vector<std::string>& b) {
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      ADD_FAILURE() << name << " differs first at [" << i << "]";
      return;
    }
}

template <class T>
void expect_same_value(const char* name, const T& a, const T& b) {
  EXPECT_EQ(std::memcmp(&a, &b, sizeof(T)), 0) << name << ": " << a << " vs " << b;
}

void expect_same_tables(const Tables& a, const Tables& b) {
  expect_same_value("program_count", a.program_count, b.program_count);
  expect_same_value("position_count", a.position_count, b.position_count);
  expect_same_strings("program_name", a.program_name, b.program_name);
  expect_same_strings("position_fen", a.position_fen, b.position_fen);
  expect_same_strings("position_label", a.position_label, b.position_label);

  const int programs = std::min(a.program_count + 2, MAX_PROGRAMS + 1);
  const int positions = std::min(a.position_count + 2, MAX_POSITIONS + 1);
  expect_same<double>("solve_time", a.solve_time, b.solve_time, programs, positions);
  expect_same<double>("est_time", a.est_time, b.est_time, programs, positions);
  expect_same<int32_t>("pair_games", a.pair_games, b.pair_games, programs, programs);
  expect_same<double>("pair_score", a.pair_score, b.pair_score, programs, programs);
  expect_same<int32_t>("trend_count", a.trend_count, b.trend_count, programs, 4);
  expect_same<double>("trend_sum", a.trend_sum, b.trend_sum, programs, 4);

  expect_same("time_offset", a.time_offset, b.time_offset);
  expect_same("offset_sample_count", a.offset_sample_count, b.offset_sample_count);
  expect_same("match_total", a.match_total, b.match_total);
  expect_same("match_wins", a.match_wins, b.match_wins);
  expect_same("match_draws", a.match_draws, b.match_draws);
  expect_same("match_losses", a.match_losses, b.match_losses);
  expect_same("score_rate", a.score_rate, b.score_rate);
  expect_same("cluster_id", a.cluster_id, b.cluster_id);
  expect_same("elo", a.elo, b.elo);
  expect_same("avg_opponent_elo", a.avg_opponent_elo, b.avg_opponent_elo);
  expect_same("elo_margin", a.elo_margin, b.elo_margin);
  expect_same("pending_flag", a.pending_flag, b.pending_flag);
  expect_same("pos_mst1", a.pos_mst1, b.pos_mst1);
  expect_same("pos_mst2", a.pos_mst2, b.pos_mst2);
  expect_same("difficulty_class", a.difficulty_class, b.difficulty_class);

  expect_same_value("match_count", a.match_count, b.match_count);
  expect_same_value("invalid_count", a.invalid_count, b.invalid_count);
  expect_same_value("complete_count", a.complete_count, b.complete_count);
  expect_same_value("tested_position_count", a.tested_position_count, b.tested_position_count);
  expect_same_value("overall_mst1", a.overall_mst1, b.overall_mst1);
  expect_same_value("overall_mst2", a.overall_mst2, b.overall_mst2);
  expect_same_value("overall_imst", a.overall_imst, b.overall_imst);
  expect_same_value("cluster_count", a.cluster_count, b.cluster_count);
  expect_same("cluster_size", a.cluster_size, b.cluster_size);
  expect_same("cluster_match_sum", a.cluster_match_sum, b.cluster_match_sum);
  expect_same("itoffset", a.itoffset, b.itoffset);
}

// Runs both in sibling folders of a scratch directory and compares. Returns
// the reference's match count, so callers can see the suites were not empty.
int32_t expect_same_run(const suite::Suite& generated, const std::string& what,
                        unsigned workers = 0) {
  SCOPED_TRACE(what + ", workers " + std::to_string(workers));
  ScratchDir scratch;
  for (const char* side : {"reference", "program"}) {
    EXPECT_EQ(mkdir(side, 0755), 0);
    scratch.write(std::string(side) + "/suite.pgn", generated.results);
    scratch.write(std::string(side) + "/Offset.pgn", generated.offsets);
  }
  Outcome expected = run_in("reference", true);
  Outcome actual = run_in("program", false, workers);
  EXPECT_EQ(expected.console, actual.console);
  expect_same_tables(*expected.tables, *actual.tables);
  for (const char* report : REPORTS) {
    std::string a = read_file("reference/" + std::string(report));
    std::string b = read_file("program/" + std::string(report));
    if (a != b) {
      std::size_t at = 0;
      while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
      ADD_FAILURE() << report << " differs first at byte " << at
                    << ":\n  reference: " << a.substr(at > 60 ? at - 60 : 0, 120)
                    << "\n  program:   " << b.substr(at > 60 ? at - 60 : 0, 120);
    }
  }
  return expected.tables->match_count;
}

// Oddities that generated suites do not have by themselves: a program that
// is registered but never tested, an entry before the first position, an
// untested position, names written with other blanks, Windows line ends.
std::string with_quirks(std::string text, suite::Random& random) {
  if (random.chance(0.3)) text = "[Event \"Early\"]\n{'Early bird' 5s}\n*\n\n" + text;
  if (random.chance(0.3)) text += "[Event \"x\"]\n[FEN \"nobody tried this\"]\n{}\n*\n";
  if (random.chance(0.3)) text += "[Event \"x\"]\n[FEN \"8/8 w\"]\n{'Ghost' none}\n*\n";
  if (random.chance(0.3)) {
    for (std::size_t at = text.size() / 2; (at = text.find("'Prog ", at)) != std::string::npos;)
      text.replace(at, 6, "'Pr og");
  }
  if (random.chance(0.2)) {
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    text = crlf;
  }
  return text;
}

TEST(Differential, ManySmallSuitesGiveTheSameTablesAndReports) {
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
    generated.results = with_quirks(generated.results, random);

    int32_t count = expect_same_run(generated, "round " + std::to_string(round));
    matches += count;
    cases_with_matches += count > 0;
    if (::testing::Test::HasFailure()) return;  // one case in detail is enough
  }
  // Most suites must reach the heavy phases for the comparison to mean much.
  EXPECT_GT(cases_with_matches, 200);
  EXPECT_GT(matches, 10000);
}

// Big enough for the builder to share the work out among threads (each
// number of them must give the same bits) and for the reader to refill its
// buffer many times.
TEST(Differential, LargeSuitesGiveTheSameTablesAndReportsWithAnyNumberOfThreads) {
  suite::Params typical;
  typical.programs = 60;
  typical.positions = 300;
  typical.density = 0.9;
  typical.limits = {30.0, 60.0, 60.0, 120.0};
  typical.seed = 11;
  const suite::Suite first = suite::generate(typical);

  suite::Params wide;
  wide.programs = 200;
  wide.positions = 200;
  wide.density = 0.5;
  wide.solved_share = 0.5;
  wide.limits = {10.0, 60.0, 300.0};
  wide.offset_min = -0.5;
  wide.offset_max = 2.0;
  wide.groups = 3;
  wide.tie_share = 0.05;
  wide.seed = 12;
  suite::Suite second = suite::generate(wide);
  // Line ends that fall across the reader's buffer boundaries.
  std::string crlf;
  for (char c : second.results) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  second.results = crlf;

  for (unsigned workers : {0u, 1u, 2u, 3u}) {
    EXPECT_GT(expect_same_run(first, "typical", workers), 0);
    EXPECT_GT(expect_same_run(second, "wide, three clusters", workers), 0);
  }
}

}  // namespace
}  // namespace tarvolin
