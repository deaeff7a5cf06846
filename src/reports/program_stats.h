#pragma once

#include "core/tables.h"

namespace tarvolin {

// A program's times over all positions, as the rating row and its detail
// section both show them.
struct ProgramTimeStats {
  int32_t tested_count = 0;
  int32_t solved_count = 0;
  int32_t internal_count = 0;  // est_time of 0.0 or more
  double tested_sum = 0.0;     // absolute values: a failure counts its limit
  double solved_sum = 0.0;
  double internal_sum = 0.0;

  double mst1() const { return solved_count != 0 ? solved_sum / solved_count : 0.0; }
  double mst2() const { return tested_count != 0 ? tested_sum / tested_count : 0.0; }
  double imst() const { return internal_count != 0 ? internal_sum / internal_count : 0.0; }
};

ProgramTimeStats program_time_stats(const Tables& tables, int32_t p);

// Ratings as printed: the internal base moved onto the user's start Elo.
double printed_elo(const Tables& tables, int32_t p);
double printed_av_op(const Tables& tables, int32_t p);

}  // namespace tarvolin
