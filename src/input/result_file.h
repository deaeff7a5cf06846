#pragma once

#include <cstdio>

#include "core/tables.h"
#include "input/char_source.h"

namespace tarvolin {

// Reads the result file: registers positions by their "FEN " tags with the
// held "Annotator " label, and every entry of each game's first comment into
// solve_time. New programs are echoed on console.
void read_result_file(Tables& tables, CharSource& source, std::FILE* console);

}  // namespace tarvolin
