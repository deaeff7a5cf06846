#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Writes "positions.dat": per position its label, FEN, mean times, degree of
// difficulty against the whole database, and every tested program fastest
// first. Uses pending_flag as scratch and leaves it all 0.
bool write_position_report(Tables& tables, std::FILE* console);

}  // namespace tarvolin
