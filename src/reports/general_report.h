#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// Writes "general.dat", the database summary. False when the report could
// not be written (already announced on console).
bool write_general_report(const Tables& tables, std::FILE* console);

}  // namespace tarvolin
