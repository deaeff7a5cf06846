#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

struct ReportOutcome {
  bool rating_written;
  bool programs_written;
};

// Writes "rating.dat" and, in the same order, "programs.dat": one
// block per cluster, programs in descending rating, ranks from 1 in each
// block. Leaves pending_flag all 0. A file that cannot be written is
// announced and skipped; the other is still written. The program sections
// are formatted on up to two threads, by default as many as there are
// cores; the bytes do not depend on it.
ReportOutcome write_rating_report(Tables& tables, std::FILE* console);
ReportOutcome write_rating_report(Tables& tables, std::FILE* console, unsigned workers);

}  // namespace tarvolin
