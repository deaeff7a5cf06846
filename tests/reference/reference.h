// The heavy phases written as the plainest loops over the whole tables: every
// pair of programs on every position, listings by repeated selection,
// registries searched newest first. Slow on purpose; the differential test and
// the benchmark hold the program's phases against these, bit for bit.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/tables.h"
#include "reports/rating_report.h"

namespace tarvolin::reference {

// Result file and offset file, read a character at a time, with linear
// registry searches. The offset reader is kept here too because it goes
// through the program registry.
void read_result_file(Tables& tables, std::FILE* file, std::FILE* console);
void read_offset_source(Tables& tables, std::FILE* file);
void read_offset_file(Tables& tables, std::FILE* console);

// Offsets into means, times corrected, position means and difficulty classes
// by repeated selection.
void normalise_times(Tables& tables);

double estimated_time(double t, double m);
void build_matches(Tables& tables);
void compute_error_margins(Tables& tables);
double rank_index(const Tables& tables, int32_t p);
ReportOutcome write_rating_report(Tables& tables, std::FILE* console);
bool write_position_report(Tables& tables, std::FILE* console);

// The whole run with the phases above and the program's other phases.
int run(std::FILE* in, std::FILE* out);

}  // namespace tarvolin::reference
