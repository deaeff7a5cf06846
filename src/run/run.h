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

// The program's own phases, no observer.
RunHooks program_hooks();

// One whole run: dialogue on in/out, result file, offsets, every phase and
// every report in the working directory. Returns the exit code: 0 after a
// complete run, 1 after a fatal condition or when a report could not be
// written. phase_done sees, in this order: "reading", "offsets",
// "normalising", "matches", "general.dat", "clusters", "cluster.dat",
// "ratings", "margins", "rating.dat+programs.dat", "positions.dat"; a run
// that stops sees only the phases before it. An observer may stop the run
// by throwing RunAbort, whose message is then printed.
int run(std::FILE* in, std::FILE* out);  // == run(in, out, program_hooks())
int run(std::FILE* in, std::FILE* out, const RunHooks& hooks);

// The same on tables the caller provides, which must be fresh or cleared.
int run(Tables& tables, std::FILE* in, std::FILE* out, const RunHooks& hooks);

}  // namespace tarvolin
