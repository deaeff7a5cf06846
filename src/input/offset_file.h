#pragma once

#include <cstdio>

#include "core/tables.h"
#include "input/char_source.h"

namespace tarvolin {

inline constexpr const char* OFFSET_FILE_NAME = "Offset.pgn";

// Adds every entry of the first comment of the second and later games to the
// sample sums of the programs the result file introduced. The first game of
// the file is a warm-up and is ignored.
void read_offset_source(Tables& tables, CharSource& source);

// Opens "Offset.pgn" in the working directory, says on console whether it was
// found, and reads it. A missing file leaves every offset at 0.
void read_offset_file(Tables& tables, std::FILE* console);

}  // namespace tarvolin
