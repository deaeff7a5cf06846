// The tables through which every phase of a run passes its results on.
// Programs are numbered 1..MAX_PROGRAMS, positions 1..MAX_POSITIONS; slot 0
// of every table exists but never holds data.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/grid_memory.h"

namespace tarvolin {

inline constexpr int MAX_PROGRAMS = 1000;
inline constexpr int MAX_POSITIONS = 2000;
inline constexpr int MAX_CLUSTERS = 100;

inline constexpr double NOT_TESTED = -9999999.0;
// Anything below this bound is a missing result. Never compare with
// NOT_TESTED itself: a failure limit of 9999998.5 s is also "missing".
inline constexpr double TESTED_BOUND = -9999998.0;
inline constexpr double ELO_BASE = 2400.0;
inline constexpr double TREND_MISSING = -10000.0;

inline bool is_tested(double t) { return !(t < TESTED_BOUND); }
inline bool is_solved(double t) { return t >= 0.0; }

// A rectangular table addressed as grid[row][column]. Its cells come zeroed
// from the system, so only a table with another initial value is filled.
template <class T>
class Grid {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  Grid(int rows, int columns, T initial)
      : columns_(static_cast<std::size_t>(columns)),
        size_(static_cast<std::size_t>(rows) * columns_),
        cells_(static_cast<T*>(grid_memory(size_ * sizeof(T)))) {
    const T zero{};
    if (std::memcmp(&initial, &zero, sizeof(T)) != 0) std::fill_n(cells_, size_, initial);
  }
  Grid(const Grid& other)
      : columns_(other.columns_),
        size_(other.size_),
        cells_(static_cast<T*>(grid_memory(size_ * sizeof(T)))) {
    std::copy_n(other.cells_, size_, cells_);
  }
  Grid& operator=(const Grid& other) {
    Grid copy(other);
    std::swap(columns_, copy.columns_);
    std::swap(size_, copy.size_);
    std::swap(cells_, copy.cells_);
    return *this;
  }
  ~Grid() { free_grid_memory(cells_, size_ * sizeof(T)); }

  T* operator[](int row) { return cells_ + static_cast<std::size_t>(row) * columns_; }
  const T* operator[](int row) const { return cells_ + static_cast<std::size_t>(row) * columns_; }

 private:
  std::size_t columns_;
  std::size_t size_;
  T* cells_;
};

struct Tables {
  Tables();

  // Back to the state of newly built tables, for another run on the same
  // object. Only what a run can have written is reset: rows and columns up
  // to program_count and position_count, every cluster slot and the scalars.
  // A table added below needs its line there too.
  void clear();

  // Registries
  int32_t program_count = 0;
  int32_t position_count = 0;
  int32_t frozen_program_count = 0;
  std::vector<std::string> program_name;    // squeezed names
  std::vector<std::string> position_fen;    // identity of a position
  std::vector<std::string> position_label;  // "Annotator " value held at its FEN
  // Lookup indexes kept beside the name tables; names are unique, so a hit
  // here is the same number the newest-first search would find.
  std::unordered_map<std::string, int32_t> program_index;
  std::unordered_map<std::string, int32_t> position_index;

  // Dialogue
  double start_elo = 2600.0;
  std::string database_name;  // the result file's name as opened

  // program x position
  Grid<double> solve_time;
  Grid<double> est_time;

  // program x program
  Grid<int32_t> pair_games;
  Grid<double> pair_score;

  // program x difficulty class (1..3)
  Grid<int32_t> trend_count;
  Grid<double> trend_sum;

  // per program
  std::vector<double> time_offset;
  std::vector<int32_t> offset_sample_count;
  std::vector<int32_t> match_total;
  std::vector<int32_t> match_wins;
  std::vector<int32_t> match_draws;
  std::vector<int32_t> match_losses;
  std::vector<double> score_rate;
  std::vector<int32_t> cluster_id;
  std::vector<double> elo;
  std::vector<double> avg_opponent_elo;
  std::vector<double> elo_margin;
  std::vector<int32_t> pending_flag;

  // per position
  std::vector<double> pos_mst1;
  std::vector<double> pos_mst2;
  std::vector<int32_t> difficulty_class;

  // database-wide values of the match builder
  int32_t match_count = 0;
  int32_t invalid_count = 0;
  int32_t complete_count = 0;
  int32_t tested_position_count = 0;
  double overall_mst1 = 0.0;
  double overall_mst2 = 0.0;
  double overall_imst = 0.0;

  // Found by the match builder while it visits every match anyway, so that
  // the error margins and the opponent lines need not visit them again.
  // pair_faster[p][r]: matches of p against r in which p's recorded |time|
  // was the smaller one (r's losses by time are pair_faster[r][p]).
  Grid<int16_t> pair_faster;
  // Sum of the squared deviations of p's margin scores from margin_rate[p],
  // p's score fraction; NaN for a program without matches.
  std::vector<double> margin_squares;
  std::vector<double> margin_rate;

  // clusters 1..cluster_count
  int32_t cluster_count = 0;
  std::vector<int32_t> cluster_size;
  std::vector<int64_t> cluster_match_sum;
  std::vector<double> itoffset;
};

}  // namespace tarvolin
