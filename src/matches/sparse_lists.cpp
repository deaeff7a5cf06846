#include <algorithm>

#include "matches/match_layout.h"

namespace tarvolin::matching {

namespace {

// When at most this share of the table is tested, matches are gathered
// position by position from lists of the programs tested there, rather than
// by comparing every pair of programs a word of positions at a time.
constexpr int64_t SPARSE_SHARE_DIVISOR = 4;
constexpr int64_t MOST_SPARSE_MEETINGS = int64_t{1} << 18;

}  // namespace

void gather_lists(const Tables& t, Layout& l, int64_t tested_count) {
  const int64_t cells = static_cast<int64_t>(l.n) * l.positions;
  if (tested_count * SPARSE_SHARE_DIVISOR > cells) return;
  l.listed.assign(static_cast<std::size_t>(l.positions) + 2, 0);
  for (int p = 1; p <= l.n; ++p)
    for (int w = 0; w < l.words; ++w)
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1)
        ++l.listed[w * WORD_BITS + lowest_bit(bits) + 1];
  // A program's matches are held until they are put in order: few tested
  // cells crowded onto few positions still make too many of them.
  int64_t most_met = 0;
  for (int p = 1; p <= l.n; ++p) {
    int64_t met = 0;
    for (int w = 0; w < l.words; ++w)
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1)
        met += l.listed[w * WORD_BITS + lowest_bit(bits) + 1];
    most_met = std::max(most_met, met);
  }
  if (most_met > MOST_SPARSE_MEETINGS) return;
  l.sparse = true;
  for (int q = 1; q <= l.positions + 1; ++q) l.listed[q] += l.listed[q - 1];
  std::vector<int32_t> next(l.listed.begin(), l.listed.end() - 1);
  l.entries.resize(static_cast<std::size_t>(tested_count));
  for (int p = 1; p <= l.n; ++p) {
    for (int w = 0; w < l.words; ++w) {
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1) {
        const int q = w * WORD_BITS + lowest_bit(bits);
        l.entries[next[q]++] = {t.solve_time[p][q], t.est_time[p][q], p};
      }
    }
  }
  l.failures_from.assign(l.listed.size(), 0);
  for (int q = 1; q <= l.positions; ++q) {
    auto first = l.entries.begin() + l.listed[q], last = l.entries.begin() + l.listed[q + 1];
    auto failures =
        std::partition(first, last, [](const Layout::Listed& e) { return is_solved(e.time); });
    auto by_time = [](const Layout::Listed& x, const Layout::Listed& y) { return x.time < y.time; };
    std::sort(first, failures, by_time);
    std::sort(failures, last, by_time);  // negative: the longest limit first
    l.failures_from[q] = static_cast<int32_t>(failures - l.entries.begin());
  }
}

}  // namespace tarvolin::matching
