// The heavy phases as the plainest loops over every pair of programs on
// every position: slow, but short enough to read at a glance. The benchmark
// times the program against them and the differential test holds the
// program's tables against theirs, bit for bit.
#pragma once

#include <vector>

#include "core/tables.h"

namespace tarvolin::plain {

// est_time, every match into the per-program, per-pair and per-class
// tables (pair_faster included), the match counts and the database means.
void build_matches(Tables& t);

// elo_margin of every program with matches, its match scores taken afresh
// from the recorded times.
void compute_error_margins(Tables& t);

// The rank index of every program 1..program_count (slot 0 unused).
std::vector<double> rank_indexes(const Tables& t);

}  // namespace tarvolin::plain
