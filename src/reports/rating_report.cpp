#include "reports/rating_report.h"

#include <cmath>
#include <vector>

#include "core/report_stream.h"
#include "reports/program_report.h"
#include "reports/program_stats.h"
#include "reports/rank_index.h"
#include "reports/sections_in_order.h"

namespace tarvolin {

namespace {

constexpr int SECTION_BYTES = 600;
constexpr int OPPONENT_LINE_BYTES = 80;

void write_rating_row(ReportStream& out, const Tables& t, int32_t p, int32_t rank,
                      double rank_index_of_p) {
  ProgramTimeStats stats = program_time_stats(t, p);
  out.print(
      "%3d %-40s : %4.0f  %3.0f  %5ld   %5.1f %%   %4.0f   %3ld/%3ld  %5.1fs  %5.1fs   %4.2f\n",
      rank, t.program_name[p].c_str(), printed_elo(t, p), std::fabs(t.elo_margin[p]),
      static_cast<long>(t.match_total[p]), t.score_rate[p] * 100.0, printed_av_op(t, p),
      static_cast<long>(stats.solved_count), static_cast<long>(stats.tested_count), stats.mst1(),
      stats.mst2(), rank_index_of_p);
}

void write_rating_header(ReportStream& out) {
  out.print(
      "\n\n    Program %s Elo   +/-  Matches  Score   Av.Op.   S.Pos.   MST1    MST2   "
      "RIndex\n\n",
      "                                  ");
}

// The pending program of cluster c with the highest rating; the lowest
// number wins a tie.
int32_t select_best(const Tables& t, int32_t c) {
  int32_t choice = 0;
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.pending_flag[p] != 1 || t.cluster_id[p] != c) continue;
    if (choice == 0 || t.elo[p] > t.elo[choice]) choice = p;
  }
  return choice;
}

}  // namespace

ReportOutcome write_rating_report(Tables& t, std::FILE* console) {
  return write_rating_report(t, console, default_report_workers());
}

ReportOutcome write_rating_report(Tables& t, std::FILE* console, unsigned workers) {
  ReportStream rating("rating.dat", console);
  ReportStream programs("programs.dat", console);
  begin_program_report(programs);

  // The order first: cluster by cluster, programs in descending rating.
  struct Placed {
    int32_t cluster, program, rank;
  };
  std::vector<Placed> order;
  for (int p = 1; p <= t.program_count; ++p) t.pending_flag[p] = t.match_total[p] != 0 ? 1 : 0;
  for (int c = 1; c <= t.cluster_count; ++c) {
    for (int rank = 1; rank <= t.cluster_size[c]; ++rank) {
      int32_t p = select_best(t, c);
      if (p == 0) break;
      t.pending_flag[p] = 0;
      order.push_back({c, p, rank});
    }
  }

  const std::vector<double> rank_index_of = rank_indexes(t);
  int32_t cluster = 0;
  for (const Placed& placed : order) {
    for (; cluster < placed.cluster; ++cluster) write_rating_header(rating);
    write_rating_row(rating, t, placed.program, placed.rank, rank_index_of[placed.program]);
  }
  for (; cluster < t.cluster_count; ++cluster) write_rating_header(rating);

  // A program's section has a line per opponent met.
  const OpponentTallies tallies(t);
  const int section_bytes = SECTION_BYTES + OPPONENT_LINE_BYTES * t.program_count;
  write_sections_in_order(programs, static_cast<int>(order.size()), GROUP_BYTES / section_bytes,
                          workers, [&](ReportStream& out, int i, unsigned) {
                            const int32_t p = order[i].program;
                            write_program_details(out, t, p, order[i].rank, printed_av_op(t, p),
                                                  rank_index_of[p], tallies);
                          });

  rating.print("\n\n\nMST1  : Mean solution time (solved positions only)\n");
  rating.print("MST2  : Mean solution time (solved and unsolved positions)\n");
  rating.print("RIndex: Score according to solution time ranking for each position\n");
  ReportOutcome outcome{rating.close(), false};
  outcome.programs_written = programs.close();
  return outcome;
}

}  // namespace tarvolin
