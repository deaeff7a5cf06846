// The run sequence of the program with the heavy phases taken from this
// directory and the others shared.
#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "core/run_abort.h"
#include "rating/clusters.h"
#include "rating/iterate_ratings.h"
#include "reference/reference.h"
#include "reports/cluster_report.h"
#include "reports/general_report.h"

namespace tarvolin::reference {

namespace {

std::string ask_file_name(std::FILE* in, std::FILE* out) {
  std::fprintf(out, "\nName of pgn-file = ");
  std::fflush(out);
  std::string name;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') name.push_back(static_cast<char>(c));
  if (c == '\n') std::ungetc(c, in);
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  if (!name.empty() && name.back() == '\r') name.pop_back();
  return name;
}

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

int run_phases(Tables& t, std::FILE* in, std::FILE* out) {
  std::fprintf(out, "Tarvolin, Version 1.0.4\n");
  std::fprintf(out, "Rating chess programs by their solution times\n");
  std::fprintf(out, "---------------------------------\n");
  t.database_name = ask_file_name(in, out) + ".pgn";
  std::FILE* result_file = open_result_file(t.database_name);
  if (result_file == nullptr) {
    std::fprintf(out, "\nFAILURE - Unable to open %s\n", t.database_name.c_str());
    return 1;
  }
  std::fprintf(out, "\nStart Elo = ");
  std::fflush(out);
  double answer = 0.0;
  if (std::fscanf(in, "%lf", &answer) == 1) t.start_elo = answer;
  std::time_t start = std::time(nullptr);

  std::fprintf(out, "\nReading %s...\n", t.database_name.c_str());
  try {
    reference::read_result_file(t, result_file, out);
  } catch (...) {
    std::fclose(result_file);
    throw;
  }
  std::fclose(result_file);
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

  reference::read_offset_file(t, out);
  reference::normalise_times(t);
  reference::build_matches(t);
  std::fprintf(out, "%ld matches\n", static_cast<long>(t.match_count));
  bool reports_written = write_general_report(t, out);

  std::fprintf(out, "Analysing database structure... \n");
  std::fflush(out);
  int32_t clusters = find_clusters(t);
  std::fprintf(out, "%d cluster(s)\n", clusters);
  reports_written &= write_cluster_report(t, out);

  std::fprintf(out, "Calculating ELO ratings... ");
  std::fflush(out);
  int32_t iterations = iterate_ratings(t);
  if (iterations >= ITERATION_FAILURE_COUNT)
    std::fprintf(out, "Iteration failed - degenerated database\n");
  std::fprintf(out, "%d iterations\n", iterations);
  reference::compute_error_margins(t);

  ReportOutcome rating = reference::write_rating_report(t, out);
  reports_written &= rating.rating_written && rating.programs_written;
  reports_written &= reference::write_position_report(t, out);

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

int run(std::FILE* in, std::FILE* out) {
  std::unique_ptr<Tables> tables;
  try {
    tables = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    std::fprintf(out, "\nFAILURE - Out of memory\n");
    return 1;
  }
  int exit_code;
  try {
    exit_code = run_phases(*tables, in, out);
  } catch (const RunAbort& abort) {
    std::fprintf(out, "%s", abort.message.c_str());
    exit_code = 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(out, "\nFAILURE - Out of memory\n");
    exit_code = 1;
  }
  std::fflush(out);
  return exit_code;
}

}  // namespace tarvolin::reference
