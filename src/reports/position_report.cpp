#include "reports/position_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/report_stream.h"
#include "core/thread_count.h"
#include "reports/sections_in_order.h"

namespace tarvolin {

namespace {

constexpr int SECTION_BYTES = 400;
constexpr int PROGRAM_LINE_BYTES = 60;

struct Listed {
  double time;  // absolute: a failure is listed by its limit
  int32_t program;
};

// Scratch kept between positions to save its allocations, one per thread
// that formats them.
struct Scratch {
  std::vector<Listed> listed;
};

void write_position(ReportStream& out, const Tables& t, int32_t q, Scratch& scratch) {
  std::vector<Listed>& listed = scratch.listed;
  out.print("\n\n\nPosition %3d: %s\nFEN: %-80s", q, t.position_label[q].c_str(),
            t.position_fen[q].c_str());

  int32_t tested = 0, solved = 0, internal = 0;
  double tested_sum = 0.0, internal_sum = 0.0, shown_estimate = 0.0;
  listed.clear();
  for (int r = 1; r <= t.program_count; ++r) {
    double time = t.solve_time[r][q];
    if (!is_tested(time)) continue;
    listed.push_back({std::fabs(time), r});
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

  // Fastest first; equal times in program order.
  std::sort(listed.begin(), listed.end(), [](const Listed& x, const Listed& y) {
    return x.time < y.time || (x.time == y.time && x.program < y.program);
  });
  for (const Listed& entry : listed) {
    const int32_t r = entry.program;
    double time = t.solve_time[r][q];
    char mark = time < 0.0 ? '>' : (time <= 1.0 ? '<' : ' ');
    out.print("\n%-40s: %c%7.2f s", t.program_name[r].c_str(), mark, std::fabs(time));
  }
}

}  // namespace

bool write_position_report(const Tables& t, std::FILE* console) {
  return write_position_report(t, console, default_report_workers());
}

bool write_position_report(const Tables& t, std::FILE* console, unsigned workers) {
  ReportStream out("positions.dat", console);
  out.print("Individual statistics: positions");
  out.print("\n\nMST1  : Mean solution time (only programs solving the position)\n");
  out.print("MST2  : Mean solution time (also programs not solving the position)\n");
  out.print("iMST  : Internal mean solution time (using estimated time for unsolved results)");
  // A position's section has a line per program tested on it.
  std::vector<Scratch> scratch(std::clamp(workers, 1u, MOST_THREADS));
  const int section_bytes = SECTION_BYTES + PROGRAM_LINE_BYTES * t.program_count;
  write_sections_in_order(out, t.position_count, GROUP_BYTES / section_bytes, workers,
                          [&](ReportStream& to, int i, unsigned worker) {
                            write_position(to, t, i + 1, scratch[worker]);
                          });
  return out.close();
}

}  // namespace tarvolin
