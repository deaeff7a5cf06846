#include "reports/program_report.h"

#include <new>

#include "rating/score_to_elo.h"
#include "reports/program_stats.h"

namespace tarvolin {

void begin_program_report(ReportStream& out) {
  out.print("Individual statistics: programs\n");
  out.print("\nMST1     : Mean solution time (solved positions only)\n");
  out.print("MST2     : Mean solution time (solved and unsolved positions)\n");
  out.print(
      "iMST     : Internal mean solution time (using estimated values for unsolved positions)\n");
  out.print("RankIndex: Score according to solution time ranking for each position\n");
}

namespace {

// Performance on one difficulty class against the overall average opponent,
// less the rating; TREND_MISSING without matches in the class.
double trend_value(const Tables& t, int32_t p, int k, double av_op) {
  if (t.trend_count[p][k] == 0) return TREND_MISSING;
  return score_to_elo(t.trend_sum[p][k] / t.trend_count[p][k]) + av_op - printed_elo(t, p);
}

// "<" reads left to right: the figure before is smaller. A missing figure
// compares as TREND_MISSING, so the one after it always gets "<".
char comparison(double before, double value) {
  if (value == before) return '=';
  return value > before ? '<' : '>';
}

void write_trends(ReportStream& out, const Tables& t, int32_t p, double av_op) {
  double previous = 0.0;
  for (int k = 1; k <= 3; ++k) {
    double value = trend_value(t, p, k, av_op);
    if (!(value > TREND_MISSING))
      out.print(" - ");
    else if (k == 1)
      out.print(" %+.1f ", value);
    else
      out.print(" %c %+.1f ", comparison(previous, value), value);
    previous = value;
  }
}

}  // namespace

OpponentTallies::OpponentTallies(const Tables& t) : tables_(t) {
  const int n = t.program_count;
  try {
    losses_.emplace(n + 1, n + 1, 0);
    opponent_score_.emplace(n + 1, n + 1, 0.0);
  } catch (const std::bad_alloc&) {
    losses_.reset();
    opponent_score_.reset();
    return;
  }
  // The columns turned into rows in tiles, so that both sides of the copy
  // stay in the cache.
  constexpr int TILE = 32;
  for (int r0 = 1; r0 <= n; r0 += TILE) {
    for (int p0 = 1; p0 <= n; p0 += TILE) {
      for (int r = r0; r < r0 + TILE && r <= n; ++r) {
        for (int p = p0; p < p0 + TILE && p <= n; ++p) {
          (*opponent_score_)[p][r] = t.pair_score[r][p];
          (*losses_)[p][r] = t.pair_faster[r][p];
        }
      }
    }
  }
}

void write_program_details(ReportStream& out, const Tables& t, int32_t p, int32_t rank,
                           double av_op, double rank_index_of_p, const OpponentTallies& tallies) {
  out.print("\n\n%d %-40s (%.1f Elo) Trend: ", rank, t.program_name[p].c_str(), printed_elo(t, p));
  write_trends(out, t, p, av_op);

  ProgramTimeStats stats = program_time_stats(t, p);
  out.print("\n\nSolved positions:  %3d/%3d  (%.2f %%)\n", stats.solved_count, stats.tested_count,
            stats.solved_count * 100.0 / stats.tested_count);
  out.print("TimeOffset      : %7.2f s\n", t.time_offset[p]);
  out.print("MST1            : %7.2f s\n", stats.mst1());
  out.print("MST2            : %7.2f s\n", stats.mst2());
  out.print("iMST            : %7.2f s\n", stats.imst());
  out.print("RankIndex       :    %4.2f\n", rank_index_of_p);

  out.print("\nMatch results:\n");
  out.print("Total                                   : %5ld (+%4ld,=%4ld,-%4ld), %4.1f %%\n\n",
            static_cast<long>(t.match_total[p]), static_cast<long>(t.match_wins[p]),
            static_cast<long>(t.match_draws[p]), static_cast<long>(t.match_losses[p]),
            t.score_rate[p] * 100.0);
  for (int r = 1; r <= t.program_count; ++r) {
    if (r == p) continue;
    const long games = t.pair_games[p][r];
    if (games == 0) continue;
    const long wins = t.pair_faster[p][r], losses = tallies.losses(p, r);
    const double score = t.pair_score[p][r];
    out.print("%-40s: %5ld (+%4ld,=%4ld,-%4ld), %4.1f %%\n", t.program_name[r].c_str(), games, wins,
              games - wins - losses, losses,
              score * 100.0 / (score + tallies.opponent_score(p, r)));
  }
}

}  // namespace tarvolin
