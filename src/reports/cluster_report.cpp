#include "reports/cluster_report.h"

#include <vector>

#include "core/report_stream.h"
#include "rating/clusters.h"

namespace tarvolin {

bool write_cluster_report(const Tables& t, std::FILE* console) {
  std::vector<int32_t> opponent_count(static_cast<std::size_t>(t.program_count) + 1, 0);
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.match_total[p] == 0) continue;
    for (int r = 1; r <= t.program_count; ++r)
      if (r != p && t.match_total[r] != 0 && linked(t, p, r)) ++opponent_count[p];
  }

  ReportStream out("cluster.dat", console);
  for (int c = 1; c <= t.cluster_count; ++c) {
    out.print("Cluster No. %d:\n\n", c);
    for (int p = 1; p <= t.program_count; ++p)
      if (t.cluster_id[p] == c)
        out.print("%-40s (%d)\n", t.program_name[p].c_str(), opponent_count[p]);
    out.print("\n%d programs, %ld matches\n", t.cluster_size[c],
              static_cast<long>(t.cluster_match_sum[c] / 2));
    out.print("\nitoffset = %f\n\n\n", t.itoffset[c]);
  }
  return out.close();
}

}  // namespace tarvolin
