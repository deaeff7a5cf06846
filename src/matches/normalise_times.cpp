#include "matches/normalise_times.h"

#include <cmath>
#include <vector>

namespace tarvolin {

namespace {

constexpr double SOLVED_FLOOR = 1.0;
constexpr double EMPTY_MEAN = -9999999.0;

// A failure whose limit the offset eats up completely would otherwise turn
// into a "solution"; it stays a failure at the shortest limit there is.
constexpr double SHORTEST_LIMIT = -1.0;

void average_offsets(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.offset_sample_count[p] != 0)
      t.time_offset[p] = t.time_offset[p] / static_cast<double>(t.offset_sample_count[p]);
    else
      t.time_offset[p] = 0.0;
    // Samples near the largest double can sum past it; an infinite or
    // undefined offset would turn every time of the program into inf or nan
    // and no later figure of it would mean anything, so it counts as none.
    if (!std::isfinite(t.time_offset[p])) t.time_offset[p] = 0.0;
  }
}

// Program by program, so the table is read along its rows; each position
// has sums of its own, which still receive their programs in ascending
// order.
void correct_times(Tables& t) {
  const std::size_t positions = static_cast<std::size_t>(t.position_count) + 1;
  std::vector<double> s1(positions, 0.0), s2(positions, 0.0);
  std::vector<int32_t> n1(positions, 0), n2(positions, 0);
  for (int p = 1; p <= t.program_count; ++p) {
    double* row = t.solve_time[p];
    const double offset = t.time_offset[p];
    for (int q = 1; q <= t.position_count; ++q) {
      double time = row[q];
      if (!is_tested(time)) continue;
      if (is_solved(time)) {
        double corrected = time - offset;
        if (corrected < SOLVED_FLOOR) corrected = SOLVED_FLOOR;
        row[q] = corrected;
        s1[q] += corrected;
        s2[q] += corrected;
        ++n1[q];
        ++n2[q];
      } else {
        double corrected = time + offset;
        if (corrected >= 0.0) corrected = SHORTEST_LIMIT;
        row[q] = corrected;
        s2[q] += std::fabs(corrected);
        ++n2[q];
      }
    }
  }
  for (int q = 1; q <= t.position_count; ++q) {
    t.pos_mst1[q] = n1[q] != 0 ? s1[q] / n1[q] : EMPTY_MEAN;
    t.pos_mst2[q] = n2[q] != 0 ? s2[q] / n2[q] : EMPTY_MEAN;
  }
}

// Ranks positions by pos_mst2 through repeated selection; among equal means
// the highest-numbered position is taken first.
void assign_difficulty_classes(Tables& t) {
  const int n = t.position_count;
  const int a = n / 3;
  const int b = (2 * n) / 3;
  std::vector<char> ranked_flag(static_cast<std::size_t>(n) + 1, 0);
  for (int k = 1; k <= n; ++k) {
    int choice = 0;
    for (int q = 1; q <= n; ++q) {
      if (ranked_flag[q]) continue;
      if (choice == 0 || t.pos_mst2[q] <= t.pos_mst2[choice]) choice = q;
    }
    t.difficulty_class[choice] = k < a ? 1 : (k < b ? 2 : 3);
    ranked_flag[choice] = 1;
  }
}

}  // namespace

void normalise_times(Tables& tables) {
  average_offsets(tables);
  correct_times(tables);
  assign_difficulty_classes(tables);
}

}  // namespace tarvolin
