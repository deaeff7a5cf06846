#pragma once

#include "core/report_stream.h"
#include "core/tables.h"

namespace tarvolin {

// Header of "programs.dat".
void begin_program_report(ReportStream& out);

// One program's section: Trend figures against its printed rating, time
// statistics, RankIndex, and match results in total and per opponent.
// av_op is the program's printed average opponent.
void write_program_details(ReportStream& out, const Tables& tables, int32_t p, int32_t rank,
                           double av_op);
// The same with the program's rank_index already at hand.
void write_program_details(ReportStream& out, const Tables& tables, int32_t p, int32_t rank,
                           double av_op, double rank_index_of_p);

}  // namespace tarvolin
