#include "reports/position_report.h"

#include <cmath>

#include "core/report_stream.h"

namespace tarvolin {

namespace {

// The pending program with the smallest absolute time; failures sort by
// their limit, and the lowest number wins a tie.
int32_t select_fastest(const Tables& t, int32_t q) {
  int32_t choice = 0;
  for (int r = 1; r <= t.program_count; ++r) {
    if (t.pending_flag[r] != 1) continue;
    if (choice == 0 || std::fabs(t.solve_time[r][q]) < std::fabs(t.solve_time[choice][q]))
      choice = r;
  }
  return choice;
}

void write_position(ReportStream& out, Tables& t, int32_t q) {
  out.print("\n\n\nPosition %3d: %s\nFEN: %-80s", q, t.position_label[q].c_str(),
            t.position_fen[q].c_str());

  int32_t tested = 0, solved = 0, internal = 0;
  double tested_sum = 0.0, internal_sum = 0.0, shown_estimate = 0.0;
  for (int r = 1; r <= t.program_count; ++r) {
    double time = t.solve_time[r][q];
    if (!is_tested(time)) continue;
    t.pending_flag[r] = 1;
    ++tested;
    tested_sum += std::fabs(time);
    if (is_solved(time)) ++solved;
    double estimate = t.est_time[r][q];
    if (estimate >= 0.0) {
      ++internal;
      internal_sum += estimate;
      if (time < 0.0) shown_estimate = estimate;
    }
  }
  if (tested == 0) {
    out.print("\nNot tested yet!\n");
    return;
  }

  const double mst2 = tested_sum / tested;
  out.print("\nSolved by %d of %d programs", solved, tested);
  if (solved != 0)
    out.print("\nMST1: %6.1f s", t.pos_mst1[q]);
  else
    out.print("\nMST1:    -");
  out.print("\nMST2: %6.1f s", mst2);
  if (internal != 0)
    out.print("\niMST: %6.1f s", internal_sum / internal);
  else
    out.print("\niMST:    -");
  if (solved != internal) out.print(" (estimated: %.1f s)", shown_estimate);
  const double difficulty_elo = 50.0 * std::log10(mst2 / t.overall_mst2) / std::log10(2.0);
  out.print("\nDegree of difficulty (based on MST2): %.1f (%+.1f) Elo\n",
            t.start_elo + difficulty_elo, difficulty_elo);

  for (int32_t listed = 0; listed < tested; ++listed) {
    int32_t r = select_fastest(t, q);
    if (r == 0) break;
    t.pending_flag[r] = 0;
    double time = t.solve_time[r][q];
    char mark = time < 0.0 ? '>' : (time <= 1.0 ? '<' : ' ');
    out.print("\n%-40s: %c%7.2f s", t.program_name[r].c_str(), mark, std::fabs(time));
  }
}

}  // namespace

bool write_position_report(Tables& t, std::FILE* console) {
  ReportStream out("positions.dat", console);
  out.print("Individual statistics: positions");
  out.print("\n\nMST1  : Mean solution time (only programs solving the position)\n");
  out.print("MST2  : Mean solution time (also programs not solving the position)\n");
  out.print("iMST  : Internal mean solution time (using estimated time for unsolved results)");
  for (int q = 1; q <= t.position_count; ++q) write_position(out, t, q);
  return out.close();
}

}  // namespace tarvolin
