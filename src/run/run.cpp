#include "run/run.h"

#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "core/run_abort.h"
#include "core/tables.h"
#include "input/char_source.h"
#include "input/offset_file.h"
#include "input/result_file.h"
#include "matches/build_matches.h"
#include "matches/general_report.h"
#include "matches/normalise_times.h"
#include "rating/clusters.h"
#include "rating/error_margins.h"
#include "rating/iterate_ratings.h"
#include "reports/position_report.h"
#include "reports/rating_report.h"

namespace tarvolin {

namespace {

void print_banner(std::FILE* out) {
  std::fprintf(out, "Tarvolin, Version 1.0.4\n");
  std::fprintf(out, "Rating chess programs by their solution times\n");
  std::fprintf(out, "---------------------------------\n");
}

// The whole answer line, however long. Nothing typed (or no input at all)
// gives the empty name; a carriage return left by a Windows-made answer file
// is dropped.
std::string ask_file_name(std::FILE* in, std::FILE* out) {
  std::fprintf(out, "\nName of pgn-file = ");
  std::fflush(out);
  std::string name;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') name.push_back(static_cast<char>(c));
  if (c == '\n') std::ungetc(c, in);  // the line end stays for the next read
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  if (!name.empty() && name.back() == '\r') name.pop_back();
  return name;
}

// A number as "%lf" reads it; anything else leaves the default in place.
void ask_start_elo(std::FILE* in, std::FILE* out, double& start_elo) {
  std::fprintf(out, "\nStart Elo = ");
  std::fflush(out);
  double answer = 0.0;
  if (std::fscanf(in, "%lf", &answer) == 1) start_elo = answer;
}

// Opens the result file for reading; a directory counts as unopenable.
std::FILE* open_result_file(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "r");
  if (file == nullptr) return nullptr;
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

// Everything after the set-up of the tables. Returns the exit code; a fatal
// condition arrives as RunAbort.
int run_phases(Tables& t, std::FILE* in, std::FILE* out, const RunHooks& hooks) {
  auto done = [&hooks](const char* phase) {
    if (hooks.phase_done != nullptr) hooks.phase_done(phase);
  };
  print_banner(out);
  t.database_name = ask_file_name(in, out) + ".pgn";
  std::FILE* result_file = open_result_file(t.database_name);
  if (result_file == nullptr) {
    std::fprintf(out, "\nFAILURE - Unable to open %s\n", t.database_name.c_str());
    return 1;
  }
  ask_start_elo(in, out, t.start_elo);
  std::time_t start = std::time(nullptr);

  std::fprintf(out, "\nReading %s...\n", t.database_name.c_str());
  {
    // Closed however the reading ends, an overflow of the registries included.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(result_file, std::fclose);
    CharSource source(result_file);
    read_result_file(t, source, out);
  }
  done("reading");
  std::fprintf(out, "%d programs\n", t.program_count);
  std::fprintf(out, "%d positions\n", t.position_count);
  if (t.program_count < 2) {
    std::fprintf(out, "\nLess than 2 programs !");
    return 1;
  }
  if (t.position_count < 1) {
    std::fprintf(out, "\nLess than 1 position !");
    return 1;
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
  done("clusters");
  std::fprintf(out, "%d cluster(s)\n", clusters);
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

  std::time_t end = std::time(nullptr);
  std::fprintf(out, "CPU time = %d sec\n", static_cast<int>(std::difftime(end, start)));
  std::fprintf(out, "\nReady!");
  std::fflush(out);
  char key;
  if (std::fscanf(in, "%c%c", &key, &key) < 0) { /* no input left: end at once */
  }
  return reports_written ? 0 : 1;
}

}  // namespace

RunHooks program_hooks() {
  return {static_cast<void (*)(Tables&)>(build_matches), compute_error_margins, nullptr};
}

int run(std::FILE* in, std::FILE* out) { return run(in, out, program_hooks()); }

int run(std::FILE* in, std::FILE* out, const RunHooks& hooks) {
  std::unique_ptr<Tables> tables;
  try {
    tables = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    std::fprintf(out, "\nFAILURE - Out of memory\n");
    return 1;
  }
  int exit_code;
  try {
    exit_code = run_phases(*tables, in, out, hooks);
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
