#pragma once

#include <cstdio>

#include "core/tables.h"

namespace tarvolin {

// The phases a run can take from elsewhere: the benchmark stands its plain
// loops in for the optimised ones, and watches each phase end.
struct RunHooks {
  void (*build_matches)(Tables&);                   // default: the program's build_matches(Tables&)
  void (*compute_error_margins)(Tables&);           // default: the program's compute_error_margins
  void (*phase_done)(const char* phase) = nullptr;  // called after each phase with a short name
};
RunHooks program_hooks();  // the program's own phases, no observer

// One whole run: dialogue on in/out, result file, offsets, every phase and
// every report in the working directory. Returns the exit code: 0 after a
// complete run, 1 after a fatal condition or when a report could not be
// written.
int run(std::FILE* in, std::FILE* out);  // == run(in, out, program_hooks())
int run(std::FILE* in, std::FILE* out, const RunHooks& hooks);

}  // namespace tarvolin
