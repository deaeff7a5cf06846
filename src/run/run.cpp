#include "run/run.h"

#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "core/run_abort.h"
#include "input/char_source.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/cluster_report.h"
#include "reports/general_report.h"
#include "reports/position_report.h"
#include "reports/rating_report.h"
#include "run/dialogue.h"

namespace tarvolin {

namespace {

void default_build_matches(Tables& t) { build_matches(t); }

enum class Ending { stopped, report_missing, complete };

// Every phase from reading the opened result file to the last report. A
// fatal condition arrives as RunAbort.
Ending run_phases(Tables& t, std::FILE* result_file, std::FILE* out, const RunHooks& hooks) {
  auto done = [&hooks](const char* phase) {
    if (hooks.phase_done != nullptr) hooks.phase_done(phase);
  };
  std::fprintf(out, "\nReading %s...\n", t.database_name.c_str());
  {
    // Closed however the reading ends, an overflow of the registries included.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(result_file, std::fclose);
    CharSource source(result_file);
    read_result_file(t, source, out);
  }
  std::fprintf(out, "%d programs\n", t.program_count);
  std::fprintf(out, "%d positions\n", t.position_count);
  done("reading");
  if (t.program_count < 2) {
    std::fprintf(out, "\nLess than 2 programs !");
    return Ending::stopped;
  }
  if (t.position_count < 1) {
    std::fprintf(out, "\nLess than 1 position !");
    return Ending::stopped;
  }
  t.frozen_program_count = t.program_count;

  read_offset_file(t, out);
  done("offsets");
  normalise_times(t);
  done("normalising");
  hooks.build_matches(t);
  done("matches");
  std::fprintf(out, "%ld matches\n", static_cast<long>(t.match_count));
  bool reports_written = write_general_report(t, out);
  done("general.dat");

  std::fprintf(out, "Analysing database structure... \n");
  std::fflush(out);
  int32_t clusters = find_clusters(t);
  std::fprintf(out, "%d cluster(s)\n", clusters);
  done("clusters");
  reports_written &= write_cluster_report(t, out);
  done("cluster.dat");

  std::fprintf(out, "Calculating ELO ratings... ");
  std::fflush(out);
  int32_t iterations = iterate_ratings(t);
  if (iterations >= ITERATION_FAILURE_COUNT)
    std::fprintf(out, "Iteration failed - degenerated database\n");
  std::fprintf(out, "%d iterations\n", iterations);
  done("ratings");
  hooks.compute_error_margins(t);
  done("margins");

  ReportOutcome rating = write_rating_report(t, out);
  reports_written &= rating.rating_written && rating.programs_written;
  done("rating.dat+programs.dat");
  reports_written &= write_position_report(t, out);
  done("positions.dat");
  return reports_written ? Ending::complete : Ending::report_missing;
}

// The dialogue around the phases. Returns the exit code.
int run_dialogue(Tables& t, std::FILE* in, std::FILE* out, const RunHooks& hooks) {
  print_banner(out);
  t.database_name = ask_file_name(in, out) + ".pgn";
  std::FILE* result_file = open_result_file(t.database_name);
  if (result_file == nullptr) {
    std::fprintf(out, "\nFAILURE - Unable to open %s\n", t.database_name.c_str());
    return 1;
  }
  ask_start_elo(in, out, t.start_elo);
  std::time_t start = std::time(nullptr);
  const Ending ending = run_phases(t, result_file, out, hooks);
  if (ending == Ending::stopped) return 1;
  std::time_t end = std::time(nullptr);
  std::fprintf(out, "CPU time = %d sec\n", static_cast<int>(std::difftime(end, start)));
  wait_for_enter(in, out);
  return ending == Ending::complete ? 0 : 1;
}

}  // namespace

RunHooks program_hooks() { return RunHooks{default_build_matches, compute_error_margins}; }

int run(std::FILE* in, std::FILE* out) { return run(in, out, program_hooks()); }

int run(std::FILE* in, std::FILE* out, const RunHooks& hooks) {
  std::unique_ptr<Tables> tables;
  try {
    tables = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    std::fprintf(out, "\nFAILURE - Out of memory\n");
    return 1;
  }
  return run(*tables, in, out, hooks);
}

int run(Tables& tables, std::FILE* in, std::FILE* out, const RunHooks& hooks) {
  int exit_code;
  try {
    exit_code = run_dialogue(tables, in, out, hooks);
  } catch (const RunAbort& abort) {
    std::fprintf(out, "%s", abort.message.c_str());
    exit_code = 1;
  } catch (const std::bad_alloc&) {
    // A tag value of gigabytes is read whole; running out of memory on it
    // ends the run like a failed set-up instead of a crash.
    std::fprintf(out, "\nFAILURE - Out of memory\n");
    exit_code = 1;
  }
  std::fflush(out);
  return exit_code;
}

}  // namespace tarvolin
