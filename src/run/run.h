#pragma once

#include <cstdio>

namespace tarvolin {

// One whole run: dialogue on in/out, result file, offsets, every phase and
// every report in the working directory. Returns the exit code: 0 after a
// complete run, 1 after a fatal condition or when a report could not be
// written.
int run(std::FILE* in, std::FILE* out);

}  // namespace tarvolin
