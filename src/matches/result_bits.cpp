#include "matches/match_layout.h"

namespace tarvolin::matching {

int64_t mark_results(const Tables& t, Layout& l) {
  l.tested.assign(l.row(l.n + 1), 0);
  l.solved.assign(l.tested.size(), 0);
  l.shared.assign(l.tested.size(), 0);
  l.in_class.assign(static_cast<std::size_t>(4) * l.words, 0);
  int64_t tested_count = 0;
  for (int p = 1; p <= l.n; ++p) {
    for (int q = 1; q <= l.positions; ++q) {
      double time = t.solve_time[p][q];
      Word bit = Word{1} << (q % WORD_BITS);
      if (is_tested(time)) l.tested[l.row(p) + q / WORD_BITS] |= bit, ++tested_count;
      if (is_solved(time)) l.solved[l.row(p) + q / WORD_BITS] |= bit;
    }
  }
  for (int q = 1; q <= l.positions; ++q) {
    int c = t.difficulty_class[q];
    if (c >= 0 && c <= 3)
      l.in_class[static_cast<std::size_t>(c) * l.words + q / WORD_BITS] |= Word{1}
                                                                           << (q % WORD_BITS);
  }

  return tested_count;
}

}  // namespace tarvolin::matching
