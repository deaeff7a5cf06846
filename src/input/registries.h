// Program and position registries: text keys to the numbers that index every
// table. Keys compare whole and case-sensitively.
#pragma once

#include <cstdio>
#include <string>

#include "core/tables.h"

namespace tarvolin {

// Number of the position with this FEN, registering it if new. Throws
// RunAbort on the position beyond MAX_POSITIONS.
int32_t find_or_add_position(Tables& tables, const std::string& fen);

// Number of the program with this name. A new name is registered and echoed
// on console as "(n) name"; once the registry is frozen a new name gives -1
// and changes nothing. Throws RunAbort on the program beyond MAX_PROGRAMS.
int32_t find_or_add_program(Tables& tables, const std::string& name, std::FILE* console);

}  // namespace tarvolin
