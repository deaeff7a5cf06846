// Shared by the fuzz harnesses and by the test that replays their findings:
// feeding raw bytes to the readers and to a whole run. One Tables object
// serves every input, cleared in between (a fresh one is some 45 MB, far too
// slow to build per input); tables_are_fresh() checks that the clearing
// missed nothing, and the replay test also compares the reports of cleared
// and of new tables.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/run_abort.h"
#include "core/tables.h"
#include "input/char_source.h"
#include "input/entry_parser.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "rating/iterate_ratings.h"
#include "run/run.h"

namespace tarvolin::fuzz {

// A line of its own that splits an input of the whole-run harness: what
// stands before it is the result file, what follows it the offset file.
inline constexpr std::string_view OFFSET_MARKER = "\n%Offset\n";

// Capacities of the tables including slot 0.
inline constexpr int PROGRAM_SLOTS = MAX_PROGRAMS + 1;
inline constexpr int POSITION_SLOTS = MAX_POSITIONS + 1;
inline constexpr int CLASS_SLOTS = 4;

// Bitwise, so that -0.0 left where 0.0 belongs, or a NaN, shows up.
template <class T>
bool same_bits(const T* a, const T* b, std::size_t n) {
  return std::memcmp(a, b, n * sizeof(T)) == 0;
}

template <class T>
bool same_grid(const Grid<T>& a, const Grid<T>& b, int rows, int columns) {
  for (int row = 0; row < rows; ++row)
    if (!same_bits(a[row], b[row], static_cast<std::size_t>(columns))) return false;
  return true;
}

// Whether t holds exactly what a newly built Tables holds, in every slot.
inline bool tables_are_fresh(const Tables& t, const Tables& fresh) {
#define TARVOLIN_SAME(f) (t.f == fresh.f)
#define TARVOLIN_SAME_VECTOR(f) \
  (t.f.size() == fresh.f.size() && same_bits(t.f.data(), fresh.f.data(), t.f.size()))
#define TARVOLIN_SAME_GRID(f, columns) same_grid(t.f, fresh.f, PROGRAM_SLOTS, columns)
  const bool same =
      TARVOLIN_SAME(program_count) && TARVOLIN_SAME(position_count) &&
      TARVOLIN_SAME(frozen_program_count) && TARVOLIN_SAME(program_name) &&
      TARVOLIN_SAME(position_fen) && TARVOLIN_SAME(position_label) && t.program_index.empty() &&
      t.position_index.empty() && TARVOLIN_SAME(start_elo) && TARVOLIN_SAME(database_name) &&
      TARVOLIN_SAME_GRID(solve_time, POSITION_SLOTS) &&
      TARVOLIN_SAME_GRID(est_time, POSITION_SLOTS) &&
      TARVOLIN_SAME_GRID(pair_games, PROGRAM_SLOTS) &&
      TARVOLIN_SAME_GRID(pair_score, PROGRAM_SLOTS) &&
      TARVOLIN_SAME_GRID(pair_faster, PROGRAM_SLOTS) &&
      TARVOLIN_SAME_GRID(trend_count, CLASS_SLOTS) && TARVOLIN_SAME_GRID(trend_sum, CLASS_SLOTS) &&
      TARVOLIN_SAME_VECTOR(margin_squares) && TARVOLIN_SAME_VECTOR(margin_rate) &&
      TARVOLIN_SAME_VECTOR(time_offset) && TARVOLIN_SAME_VECTOR(offset_sample_count) &&
      TARVOLIN_SAME_VECTOR(match_total) && TARVOLIN_SAME_VECTOR(match_wins) &&
      TARVOLIN_SAME_VECTOR(match_draws) && TARVOLIN_SAME_VECTOR(match_losses) &&
      TARVOLIN_SAME_VECTOR(score_rate) && TARVOLIN_SAME_VECTOR(cluster_id) &&
      TARVOLIN_SAME_VECTOR(elo) && TARVOLIN_SAME_VECTOR(avg_opponent_elo) &&
      TARVOLIN_SAME_VECTOR(elo_margin) && TARVOLIN_SAME_VECTOR(pending_flag) &&
      TARVOLIN_SAME_VECTOR(pos_mst1) && TARVOLIN_SAME_VECTOR(pos_mst2) &&
      TARVOLIN_SAME_VECTOR(difficulty_class) && TARVOLIN_SAME(match_count) &&
      TARVOLIN_SAME(invalid_count) && TARVOLIN_SAME(complete_count) &&
      TARVOLIN_SAME(tested_position_count) && TARVOLIN_SAME_VECTOR(cluster_size) &&
      same_bits(&t.overall_mst1, &fresh.overall_mst1, 1) &&
      same_bits(&t.overall_mst2, &fresh.overall_mst2, 1) &&
      same_bits(&t.overall_imst, &fresh.overall_imst, 1) && TARVOLIN_SAME(cluster_count) &&
      TARVOLIN_SAME_VECTOR(cluster_match_sum) && TARVOLIN_SAME_VECTOR(itoffset);
#undef TARVOLIN_SAME
#undef TARVOLIN_SAME_VECTOR
#undef TARVOLIN_SAME_GRID
  return same;
}

// Bytes read through a FILE*, as the readers get a file from disk. The bytes
// are copied: a read-only stream over memory still wants writable memory,
// and always one byte of it, even for an empty file.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes.size() + 1, '\0') {
    bytes.copy(bytes_.data(), bytes.size());
    file_ = fmemopen(bytes_.data(), bytes.size(), "r");
  }
  ~MemoryFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  std::FILE* get() const { return file_; }

 private:
  std::vector<char> bytes_;
  std::FILE* file_ = nullptr;
};

// Reads the bytes as a result file. False when a registry overflowed, which
// ends a real run there.
inline bool read_result_bytes(Tables& t, std::string_view bytes, std::FILE* console) {
  MemoryFile file(bytes);
  CharSource source(file.get());
  try {
    read_result_file(t, source, console);
  } catch (const RunAbort&) {
    return false;
  }
  return true;
}

inline void read_offset_bytes(Tables& t, std::string_view bytes) {
  MemoryFile file(bytes);
  CharSource source(file.get());
  read_offset_source(t, source);
}

// A run costs up to programs^2 * positions steps in the match loops and
// programs^2 per iteration of the ratings; beyond this many an input takes
// longer than what it exercises is worth, so only its reading is run.
inline constexpr long LARGEST_RUN = 10'000'000;

// How far the run under way got, as its phases end.
inline int phases_reached = 0;
inline const Tables* running_tables = nullptr;

inline void watch_phase(const char* phase) {
  const std::string_view name(phase);
  const Tables& t = *running_tables;
  if (name == "reading" &&
      long{t.program_count} * t.program_count * (t.position_count + ITERATION_FAILURE_COUNT) >
          LARGEST_RUN)
    throw RunAbort{""};
  if (name == "general.dat") phases_reached = 1;
  if (name == "positions.dat") phases_reached = 2;
}

inline void write_bytes(const char* file_name, std::string_view bytes) {
  if (std::FILE* file = std::fopen(file_name, "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

// The program's run on the input, with its reports, its result file and its
// offset file in the working directory. The bytes before OFFSET_MARKER are
// the result file, those after it (if any) the offset file. Returns how far
// the run got: 0 stopped after reading (or too large to go on), 1 stopped
// at the cluster limit, 2 complete.
inline int run_whole_computation(Tables& t, std::string_view bytes, std::FILE* console) {
  std::string_view result = bytes;
  std::remove(OFFSET_FILE_NAME);
  if (std::size_t marker = bytes.find(OFFSET_MARKER); marker != std::string_view::npos) {
    result = bytes.substr(0, marker);
    write_bytes(OFFSET_FILE_NAME, bytes.substr(marker + OFFSET_MARKER.size()));
  }
  write_bytes("fuzz-input.pgn", result);
  RunHooks hooks = program_hooks();
  hooks.phase_done = watch_phase;
  phases_reached = 0;
  running_tables = &t;
  MemoryFile answers("fuzz-input\n2600\n\n");
  run(t, answers.get(), console, hooks);
  return phases_reached;
}

// What the readers promise about the tables they fill. Returns what is
// broken, or nullptr.
inline const char* broken_reader_invariant(const Tables& t) {
  if (t.program_count < 0 || t.program_count > MAX_PROGRAMS) return "program_count";
  if (t.position_count < 0 || t.position_count > MAX_POSITIONS) return "position_count";
  if (t.program_index.size() != static_cast<std::size_t>(t.program_count))
    return "program index out of step";
  if (t.position_index.size() != static_cast<std::size_t>(t.position_count))
    return "position index out of step";
  for (int p = 1; p <= t.program_count; ++p) {
    const std::string& name = t.program_name[p];
    if (name.size() > ENTRY_WINDOW) return "name longer than the entry window";
    if (name.find_first_of(std::string_view(" \n\0'", 4)) != std::string::npos)
      return "blank, line end, NUL or quote in a name";
    auto found = t.program_index.find(name);
    if (found == t.program_index.end() || found->second != p) return "name not indexed";
    if (t.solve_time[p][0] != NOT_TESTED) return "time stored without a position";
    for (int q = 1; q <= t.position_count; ++q)
      if (!std::isfinite(t.solve_time[p][q])) return "time not finite";
  }
  for (int q = 1; q <= t.position_count; ++q) {
    const std::string& fen = t.position_fen[q];
    if (fen.find('\0') != std::string::npos) return "NUL in a FEN";
    auto found = t.position_index.find(fen);
    if (found == t.position_index.end() || found->second != q) return "FEN not indexed";
  }
  return nullptr;
}

// The bookkeeping a complete run must leave consistent, whatever its input.
// Returns what is broken, or nullptr.
inline const char* broken_invariant(const Tables& t) {
  const int n = t.program_count;
  // An offset can push a corrected time past the largest double; the score
  // of two infinite solutions is then NaN, which is neither win, draw nor
  // loss. The counting and the clusters must hold all the same.
  bool times_finite = true;
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= t.position_count; ++q)
      times_finite = times_finite && std::isfinite(t.solve_time[p][q]);

  int64_t all_matches = 0;
  for (int p = 1; p <= n; ++p) {
    int64_t games = 0;
    for (int r = 1; r <= n; ++r) {
      if (t.pair_games[p][r] != t.pair_games[r][p]) return "pair_games not symmetric";
      games += t.pair_games[p][r];
    }
    if (t.pair_games[p][p] != 0) return "a program met itself";
    if (games != t.match_total[p]) return "pair_games do not add up to match_total";
    if (int64_t{t.trend_count[p][1]} + t.trend_count[p][2] + t.trend_count[p][3] !=
        t.match_total[p])
      return "trend counts do not add up to match_total";
    if ((t.cluster_id[p] == 0) != (t.match_total[p] == 0)) return "cluster of a program wrong";
    if (t.cluster_id[p] < 0 || t.cluster_id[p] > t.cluster_count) return "cluster out of range";
    if (t.pending_flag[p] != 0) return "pending_flag left set";
    if (t.elo_margin[p] < 0.0) return "negative elo_margin";
    if (times_finite) {
      if (int64_t{t.match_wins[p]} + t.match_draws[p] + t.match_losses[p] != t.match_total[p])
        return "wins, draws and losses do not add up to match_total";
      if (!(t.score_rate[p] >= 0.0 && t.score_rate[p] <= 1.0)) return "score_rate outside 0..1";
    }
    all_matches += t.match_total[p];
  }
  if (all_matches != 2 * int64_t{t.match_count}) return "match_count is not half the total";
  for (int q = 1; q <= t.position_count; ++q)
    if (t.difficulty_class[q] < 1 || t.difficulty_class[q] > 3) return "difficulty class";
  return nullptr;
}

}  // namespace tarvolin::fuzz
