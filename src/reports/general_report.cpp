#include "reports/general_report.h"

#include "core/report_stream.h"

namespace tarvolin {

namespace {

// A share of nothing prints as 0.00 rather than nan.
double percent(long count, long total) {
  return total != 0 ? static_cast<double>(count) * 100.0 / static_cast<double>(total) : 0.0;
}

}  // namespace

bool write_general_report(const Tables& t, std::FILE* console) {
  ReportStream out("general.dat", console);
  const long invalid = t.invalid_count, matches = t.match_count, complete = t.complete_count;
  const long pairs = invalid + matches;
  out.print("\nDatabase  :   %s", t.database_name.c_str());
  out.print("\nPrograms  : %6ld", static_cast<long>(t.program_count));
  out.print("\nPositions : %6ld (tested: %3ld)\n", static_cast<long>(t.position_count),
            static_cast<long>(t.tested_position_count));
  out.print("\nMST1      :   %6.1f s (solved positions only)\n", t.overall_mst1);
  out.print("MST2      :   %6.1f s (including unsolved positions)\n", t.overall_mst2);
  out.print("iMST      :   %6.1f s (estimated values for unsolved positions)\n", t.overall_imst);
  out.print("\nMatches\n\n");
  out.print("invalid   : %6ld/%ld -> %6.2f %%\n", invalid, pairs, percent(invalid, pairs));
  out.print("evaluated : %6ld/%ld -> %6.2f %%\n", matches, pairs, percent(matches, pairs));
  out.print("among them\n");
  out.print("complete  : %6ld/%ld -> %6.2f %%\n", complete, matches, percent(complete, matches));
  out.print("uncomplete: %6ld/%ld -> %6.2f %%\n", matches - complete, matches,
            percent(matches - complete, matches));
  out.print("\nStart Elo : %6.0f\n", t.start_elo);
  return out.close();
}

}  // namespace tarvolin
