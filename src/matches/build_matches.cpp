#include "matches/build_matches.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "core/thread_count.h"
#include "core/workers.h"
#include "matches/match_layout.h"
#include "matches/match_walk.h"
#include "matches/overall_means.h"
#include "matches/time_score.h"

namespace tarvolin {

double estimated_time(double t, double m) {
  double s = time_score(t, m);
  return std::pow(s / (1.0 - s), -1.0 / time_exponent()) * m;
}

namespace {

using namespace matching;

// Below this many visits a second thread costs more than it saves.
constexpr int64_t SMALL_DATABASE = int64_t{1} << 20;

// What the workers may hold in scratch between them. At the capacity of
// 1000 programs on 2000 positions a worker holds 16.8 MB: two fit, and the
// run peaks at 82 MB, where each further worker would add 15 MB. On 500
// programs four fit, on a tenth of the cells of 1000 thirty-one.
constexpr std::size_t SCRATCH_BUDGET = std::size_t{40} << 20;

void fill_estimates(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    for (int q = 1; q <= t.position_count; ++q) {
      double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      if (is_solved(time) || !(t.pos_mst1[q] >= 0.0))
        t.est_time[p][q] = time;
      else
        t.est_time[p][q] = estimated_time(time, t.pos_mst1[q]);
    }
  }
}

unsigned default_workers(const Tables& t) {
  const int64_t visits = static_cast<int64_t>(t.program_count) * t.program_count *
                         static_cast<int64_t>(t.position_count);
  if (visits < SMALL_DATABASE) return 1;
  return thread_count();
}

// Laid out when memory allows; if it runs out, every walk is plain.
void lay_out(const Tables& t, Layout& layout, unsigned workers) {
  layout.n = t.program_count;
  layout.positions = t.position_count;
  layout.words = t.position_count / WORD_BITS + 1;
  try {
    gather_lists(t, layout, mark_results(t, layout));
    if (!layout.sparse) find_shared_values(t, layout, workers);
    layout.laid_out = true;
  } catch (const std::bad_alloc&) {
    Layout bare;
    bare.n = layout.n;
    bare.positions = layout.positions;
    bare.words = layout.words;
    layout = std::move(bare);
  }
}

void score_matches(Tables& t, const Layout& layout, unsigned workers, int64_t& raw_invalid,
                   int64_t& raw_complete) {
  for (int p = 1; p <= t.program_count; ++p) t.margin_rate[p] = std::nan("");
  // Only workers with room for any program's walk are started; without a
  // single one, the calling thread walks every program plain. Each holds
  // one program's margin scores at a time, up to 16 MB at capacity, which
  // is what keeps their count down on large tables.
  const Room room = room_needed(layout);
  workers = workers_within(workers, scratch_bytes(layout, room), SCRATCH_BUDGET);
  std::vector<Worker> scratch(workers);
  unsigned ready = 0;
  while (ready < workers && scratch[ready].make_room(layout, room)) ++ready;
  scratch.resize(std::max(ready, 1u));
  std::atomic<int> next_program{1};
  on_workers(static_cast<unsigned>(scratch.size()), [&](unsigned w) {
    Worker& worker = scratch[w];
    for (int p = next_program++; p <= t.program_count; p = next_program++)
      walk_program(t, layout, p, worker);
  });
  for (const Worker& worker : scratch) {
    raw_invalid += worker.raw_invalid;
    raw_complete += worker.raw_complete;
  }
}

}  // namespace

void build_matches(Tables& tables) { build_matches(tables, default_workers(tables)); }

void build_matches(Tables& tables, unsigned workers) {
  fill_estimates(tables);
  workers =
      std::clamp(workers, 1u,
                 std::min(MOST_THREADS, static_cast<unsigned>(std::max(tables.program_count, 1))));
  Layout layout;
  lay_out(tables, layout, workers);
  int64_t raw_invalid = 0, raw_complete = 0;
  score_matches(tables, layout, workers, raw_invalid, raw_complete);
  compute_overall_means(tables, layout);

  int64_t total = 0;
  for (int p = 1; p <= tables.program_count; ++p) total += tables.match_total[p];
  tables.invalid_count = static_cast<int32_t>(raw_invalid / 2);
  tables.complete_count = static_cast<int32_t>(raw_complete / 2);
  tables.match_count = static_cast<int32_t>(total / 2);
}

}  // namespace tarvolin
