#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Writes "positions.dat": per position its label, FEN, mean times, degree of
// difficulty against the whole database, and every tested program fastest
// first. The positions are formatted on up to two threads, by default as
// many as there are cores; the bytes do not depend on it.
bool write_position_report(const Tables& tables, std::FILE* console);
bool write_position_report(const Tables& tables, std::FILE* console, unsigned workers);

}  // namespace tarvolin
