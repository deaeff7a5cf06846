#pragma once

#include "core/tables.h"

namespace tarvolin {

// Solution time that would score against a solution in m seconds exactly as
// a failure within |t| does: m * (s / (1 - s))^(-1/k) with s the score of t
// against m. Always beyond 5.3 times the failed limit.
double estimated_time(double t, double m);

// Fills est_time, every match with its score in the per-program, per-pair
// and per-class tables, and the database-wide means and counts; on the way,
// pair_faster and each program's margin_squares and margin_rate. Programs
// are shared out among worker threads, as many as thread_count() and the
// size of the tables call for, or the given number, as far as their scratch
// fits in a budget of 40 MiB; every table comes out the same whatever their
// number.
void build_matches(Tables& tables);
void build_matches(Tables& tables, unsigned workers);

}  // namespace tarvolin
