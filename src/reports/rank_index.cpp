#include "reports/rank_index.h"

#include <algorithm>
#include <cmath>

namespace tarvolin {

namespace {

double share(int32_t hits, int32_t comparisons) {
  return comparisons != 0 ? static_cast<double>(hits) / static_cast<double>(comparisons) : 0.0;
}

}  // namespace

double rank_index(const Tables& t, int32_t p) {
  if (t.position_count < 1) return 0.0;
  int32_t comparisons = 0, hits = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    double time = t.solve_time[p][q];
    if (!is_tested(time)) continue;
    double a = std::fabs(time);
    bool failed = time < 0.0;
    for (int r = 1; r <= t.program_count; ++r) {
      double u = t.solve_time[r][q];
      if (u < 0.0) continue;
      if (failed && u > a) continue;
      ++comparisons;
      if (a <= u) ++hits;
    }
  }
  return share(hits, comparisons);
}

// With a position's solution times sorted, a solver at a is compared with
// every solver and hits those at a or slower; a failure within a is compared
// with the solvers at a or faster and hits those exactly at a. The counts are
// whole numbers, so counting by position gives what counting by program does.
std::vector<double> rank_indexes(const Tables& t) {
  const int n = t.program_count;
  std::vector<int32_t> comparisons(static_cast<std::size_t>(n) + 1, 0);
  std::vector<int32_t> hits(comparisons.size(), 0);
  std::vector<double> solutions;
  solutions.reserve(static_cast<std::size_t>(n));
  for (int q = 1; q <= t.position_count; ++q) {
    solutions.clear();
    for (int r = 1; r <= n; ++r)
      if (!(t.solve_time[r][q] < 0.0)) solutions.push_back(t.solve_time[r][q]);
    std::sort(solutions.begin(), solutions.end());
    const auto first = solutions.begin(), last = solutions.end();
    for (int p = 1; p <= n; ++p) {
      const double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      const double a = std::fabs(time);
      const auto slower = std::lower_bound(first, last, a);  // first u with a <= u
      if (time < 0.0) {
        const auto beyond = std::upper_bound(first, last, a);  // first u > a
        comparisons[p] += static_cast<int32_t>(beyond - first);
        hits[p] += static_cast<int32_t>(beyond - slower);
      } else {
        comparisons[p] += static_cast<int32_t>(last - first);
        hits[p] += static_cast<int32_t>(last - slower);
      }
    }
  }
  std::vector<double> index(comparisons.size(), 0.0);
  if (t.position_count < 1) return index;
  for (int p = 1; p <= n; ++p) index[p] = share(hits[p], comparisons[p]);
  return index;
}

}  // namespace tarvolin
