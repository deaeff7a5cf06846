#include "reports/rank_index.h"

#include <algorithm>
#include <cmath>

namespace tarvolin {

namespace {

// How many of the sorted values come before the first one for which
// beyond(value) holds. Branch-free halving: the outcome of each comparison
// is as good as random, so a jump would be mispredicted half the time.
template <class Beyond>
std::ptrdiff_t count_before(const double* sorted, std::ptrdiff_t size, Beyond beyond) {
  const double* base = sorted;
  while (size > 1) {
    const std::ptrdiff_t half = size / 2;
    base = beyond(base[half - 1]) ? base : base + half;
    size -= half;
  }
  return (base - sorted) + (size == 1 && !beyond(*base) ? 1 : 0);
}

double share(int32_t hits, int32_t comparisons) {
  return comparisons != 0 ? static_cast<double>(hits) / static_cast<double>(comparisons) : 0.0;
}

}  // namespace

// With a position's solution times sorted, a solver at a is compared with
// every solver and hits those at a or slower; a failure within a is compared
// with the solvers at a or faster and hits those exactly at a. The counts are
// whole numbers, so counting by position gives what counting by program does.
std::vector<double> rank_indexes(const Tables& t) {
  const int n = t.program_count;
  std::vector<int32_t> comparisons(static_cast<std::size_t>(n) + 1, 0);
  std::vector<int32_t> hits(comparisons.size(), 0);
  std::vector<double> column(comparisons.size()), solutions;
  solutions.reserve(static_cast<std::size_t>(n));
  for (int q = 1; q <= t.position_count; ++q) {
    solutions.clear();
    for (int r = 1; r <= n; ++r) {
      column[r] = t.solve_time[r][q];
      if (!(column[r] < 0.0)) solutions.push_back(column[r]);
    }
    std::sort(solutions.begin(), solutions.end());
    const double* sorted = solutions.data();
    const auto size = static_cast<std::ptrdiff_t>(solutions.size());
    for (int p = 1; p <= n; ++p) {
      const double time = column[p];
      if (!is_tested(time)) continue;
      const double a = std::fabs(time);
      const auto faster = count_before(sorted, size, [a](double u) { return a <= u; });
      if (time < 0.0) {
        const auto within = count_before(sorted, size, [a](double u) { return u > a; });
        comparisons[p] += static_cast<int32_t>(within);
        hits[p] += static_cast<int32_t>(within - faster);
      } else {
        comparisons[p] += static_cast<int32_t>(size);
        hits[p] += static_cast<int32_t>(size - faster);
      }
    }
  }
  std::vector<double> index(comparisons.size(), 0.0);
  if (t.position_count < 1) return index;
  for (int p = 1; p <= n; ++p) index[p] = share(hits[p], comparisons[p]);
  return index;
}

}  // namespace tarvolin
