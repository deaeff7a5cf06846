#include "matches/normalise_times.h"

#include <cmath>

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
  }
}

void correct_times(Tables& t) {
  for (int q = 1; q <= t.position_count; ++q) {
    double s1 = 0.0, s2 = 0.0;
    int32_t n1 = 0, n2 = 0;
    for (int p = 1; p <= t.program_count; ++p) {
      double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      if (is_solved(time)) {
        double corrected = time - t.time_offset[p];
        if (corrected < SOLVED_FLOOR) corrected = SOLVED_FLOOR;
        t.solve_time[p][q] = corrected;
        s1 += corrected;
        s2 += corrected;
        ++n1;
        ++n2;
      } else {
        double corrected = time + t.time_offset[p];
        if (corrected >= 0.0) corrected = SHORTEST_LIMIT;
        t.solve_time[p][q] = corrected;
        s2 += std::fabs(corrected);
        ++n2;
      }
    }
    t.pos_mst1[q] = n1 != 0 ? s1 / n1 : EMPTY_MEAN;
    t.pos_mst2[q] = n2 != 0 ? s2 / n2 : EMPTY_MEAN;
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
