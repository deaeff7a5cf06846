// Shared by the fuzz harnesses and the test that replays their findings:
// raw bytes fed to the readers and to a whole run. One Tables object serves
// every input, cleared in between (a fresh one is some 45 MB), and compared
// with a fresh one to see that the clearing missed nothing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "core/run_abort.h"
#include "core/tables.h"
#include "input/char_source.h"
#include "input/entry_parser.h"
#include "input/offset_file.h"
#include "input/registries.h"
#include "input/result_file.h"
#include "rating/iterate_ratings.h"
#include "run/run.h"

#ifdef _WIN32
namespace tarvolin::testing {
std::FILE* temporary_file();  // tests/support/scratch.cpp
}
#endif

namespace tarvolin::fuzz {

// A line of its own in a whole-run input: the result file before it, the offset file after.
inline constexpr std::string_view OFFSET_MARKER = "\n%Offset\n";

// Bitwise, so that -0.0 left where 0.0 belongs, or a NaN, shows up.
template <class T>
bool same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
template <class T>
bool same(const T& a, const T& b) requires(!std::is_arithmetic_v<T>) {
  return a == b;  // names and indexes
}
template <class T>
bool same(const std::vector<T>& a, const std::vector<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const T& x, const T& y) { return same(x, y); });
}
template <class T>
bool same(const Grid<T>& a, const Grid<T>& b) {  // every grid has a row per program slot
  return std::memcmp(a[0], b[0], sizeof(T) * (a[1] - a[0]) * (MAX_PROGRAMS + 1)) == 0;
}

// 0 when a and b hold the same bits in every slot of every table, else the
// place in the list below of the first table that differs.
inline int first_difference(const Tables& a, const Tables& b) {
  using T = Tables;
  auto first = [&](auto... field) {
    int place = 0;
    return ((++place, same(a.*field, b.*field)) && ...) ? 0 : place;
  };
  return first(&T::program_count, &T::position_count, &T::frozen_program_count, &T::program_name,
               &T::position_fen, &T::position_label, &T::program_index, &T::position_index,
               &T::start_elo, &T::database_name, &T::solve_time, &T::est_time, &T::pair_games,
               &T::pair_score, &T::trend_count, &T::trend_sum, &T::time_offset,
               &T::offset_sample_count, &T::match_total, &T::match_wins, &T::match_draws,
               &T::match_losses, &T::score_rate, &T::cluster_id, &T::elo, &T::avg_opponent_elo,
               &T::elo_margin, &T::pending_flag, &T::pos_mst1, &T::pos_mst2, &T::difficulty_class,
               &T::match_count, &T::invalid_count, &T::complete_count, &T::tested_position_count,
               &T::overall_mst1, &T::overall_mst2, &T::overall_imst, &T::pair_faster,
               &T::margin_squares, &T::margin_rate, &T::cluster_count, &T::cluster_size,
               &T::cluster_match_sum, &T::itoffset);
}

// Bytes read through a FILE*, as from disk; fmemopen wants at least one
// writable byte. Windows has no fmemopen: the tests, the only users of this
// there, read the bytes back from a temporary file of their support's.
struct MemoryFile {
  std::string bytes;
#ifdef _WIN32
  std::FILE* file = written_back(bytes.data(), bytes.size() - 1);
  static std::FILE* written_back(const char* data, std::size_t size) {
    std::FILE* temporary = testing::temporary_file();
    if (temporary != nullptr) std::fwrite(data, 1, size, temporary), std::rewind(temporary);
    return temporary;
  }
#else
  std::FILE* file = fmemopen(bytes.data(), bytes.size() - 1, "r");
#endif
  ~MemoryFile() { std::fclose(file); }
};
inline MemoryFile memory_file(std::string_view bytes) { return {std::string(bytes) + '\0'}; }

// False when a registry overflowed, which ends a real run there.
inline bool read_result_bytes(Tables& t, std::string_view bytes, std::FILE* console) try {
  MemoryFile file = memory_file(bytes);
  CharSource source(file.file);
  read_result_file(t, source, console);
  return true;
} catch (const RunAbort&) {
  return false;
}

inline void read_offset_bytes(Tables& t, std::string_view bytes) {
  MemoryFile file = memory_file(bytes);
  CharSource source(file.file);
  read_offset_source(t, source);
}

// A result file and its offset file read as a run reads them, ready for normalising.
inline void read_suite_bytes(Tables& t, std::string_view results, std::string_view offsets,
                             std::FILE* console) {
  read_result_bytes(t, results, console);
  t.frozen_program_count = t.program_count;
  read_offset_bytes(t, offsets);
}

// How far the run under way got: 0 stopped after reading (or too large to
// be worth going on: programs^2 * positions steps in the match loops),
// 1 stopped at the cluster limit, 2 complete.
inline int phases_reached = 0;
inline const Tables* running_tables = nullptr;

inline void watch_phase(const char* phase) {
  const std::string_view name(phase);
  const long n = running_tables->program_count;
  if (name == "reading" &&
      n * n * (running_tables->position_count + ITERATION_FAILURE_COUNT) > 10'000'000)
    throw RunAbort{""};
  phases_reached = name == "general.dat" ? 1 : name == "positions.dat" ? 2 : phases_reached;
}

// The program's run on the input in the working directory; returns phases_reached.
inline int run_whole_computation(Tables& t, std::string_view bytes, std::FILE* console) {
  std::remove(OFFSET_FILE_NAME);
  const std::size_t marker = bytes.find(OFFSET_MARKER);
  if (marker != std::string_view::npos)
    std::ofstream(OFFSET_FILE_NAME, std::ios::binary)
        << bytes.substr(marker + OFFSET_MARKER.size());
  std::ofstream("fuzz-input.pgn", std::ios::binary) << bytes.substr(0, marker);
  RunHooks hooks = program_hooks();
  hooks.phase_done = watch_phase;
  phases_reached = 0;
  running_tables = &t;
  run(t, memory_file("fuzz-input\n2600\n\n").file, console, hooks);
  return phases_reached;
}

// What the readers promise about the tables they fill: what is broken, or nullptr.
inline const char* broken_reader_invariant(const Tables& t) {
  bool ok = t.program_index.size() == std::size_t(t.program_count) &&
            t.position_index.size() == std::size_t(t.position_count) &&
            t.program_count <= MAX_PROGRAMS && t.position_count <= MAX_POSITIONS;
  for (int p = 1; ok && p <= t.program_count; ++p) {
    const std::string& name = t.program_name[p];
    // No blank, line end, NUL or quote in a name, and no time stored without a position.
    ok = name.size() <= ENTRY_WINDOW &&
         name.find_first_of(std::string_view(" \n\0'", 4)) == name.npos &&
         t.program_index.count(name) == 1 && t.program_index.at(name) == p &&
         t.solve_time[p][0] == NOT_TESTED;
    for (int q = 1; q <= t.position_count; ++q) ok = ok && std::isfinite(t.solve_time[p][q]);
  }
  for (int q = 1; ok && q <= t.position_count; ++q)
    ok = t.position_fen[q].find('\0') == std::string::npos &&
         t.position_index.count(t.position_fen[q]) == 1 &&
         t.position_index.at(t.position_fen[q]) == q;
  return ok ? nullptr : "registries, names or times";
}

// Names as the entry parser squeezes them, the empty one included, so that
// fuzzed offset entries can hit known programs.
inline constexpr const char* KNOWN_PROGRAMS[] = {"Alpha", "Beta2", "", "Gamma", "x"};

// The bytes as a result file, then as the offset file of a frozen registry of
// known programs, to which it may only add samples: what is broken, or nullptr.
inline const char* broken_by_readers(Tables& t, std::string_view bytes, std::FILE* console) {
  t.clear();
  read_result_bytes(t, bytes, console);  // an overflow is an expected end
  if (const char* broken = broken_reader_invariant(t)) return broken;
  t.clear();
  for (const char* name : KNOWN_PROGRAMS) find_or_add_program(t, name, nullptr);
  t.frozen_program_count = t.program_count;
  read_offset_bytes(t, bytes);
  bool intact = t.program_count == std::ssize(KNOWN_PROGRAMS) && t.position_count == 0 &&
                t.program_index.size() == std::size(KNOWN_PROGRAMS);
  for (int p = 1; intact && p <= t.program_count; ++p)
    intact = t.program_name[p] == KNOWN_PROGRAMS[p - 1] && t.offset_sample_count[p] >= 0;
  return intact ? nullptr : "the offset file changed the registries";
}

// The bookkeeping a complete run leaves consistent whatever its input: what is broken, or nullptr.
inline const char* broken_invariant(const Tables& t) {
  // An offset can push a time past the largest double; two infinite
  // solutions then score NaN, neither win, draw nor loss.
  bool finite = true, ok = true;
  int64_t all_matches = 0;
  for (int p = 1; ok && p <= t.program_count; ++p) {
    int64_t games = 0;
    for (int r = 1; r <= t.program_count; ++r)
      games += t.pair_games[p][r] == t.pair_games[r][p] ? t.pair_games[p][r] : INT32_MIN;
    for (int q = 1; q <= t.position_count; ++q)
      finite = finite && std::isfinite(t.solve_time[p][q]);
    const int64_t total = t.match_total[p];
    all_matches += total;
    ok = t.pair_games[p][p] == 0 && games == total &&
         int64_t{t.trend_count[p][1]} + t.trend_count[p][2] + t.trend_count[p][3] == total &&
         (t.cluster_id[p] == 0) == (total == 0) && t.cluster_id[p] >= 0 &&
         t.cluster_id[p] <= t.cluster_count && t.pending_flag[p] == 0 && t.elo_margin[p] >= 0.0;
  }
  for (int p = 1; ok && finite && p <= t.program_count; ++p)
    ok = int64_t{t.match_wins[p]} + t.match_draws[p] + t.match_losses[p] == t.match_total[p] &&
         t.score_rate[p] >= 0.0 && t.score_rate[p] <= 1.0;
  for (int q = 1; ok && q <= t.position_count; ++q)
    ok = t.difficulty_class[q] >= 1 && t.difficulty_class[q] <= 3;
  return ok && all_matches == 2 * int64_t{t.match_count} ? nullptr
                                                         : "match sums, clusters or classes";
}

}  // namespace tarvolin::fuzz
