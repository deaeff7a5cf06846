#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Writes "positions.dat": per position its label, FEN, mean times, degree of
// difficulty against the whole database, and every tested program fastest
// first.
bool write_position_report(const Tables& tables, std::FILE* console);

}  // namespace tarvolin
