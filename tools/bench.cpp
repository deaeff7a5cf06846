// tarvolin_bench: times tarvolin against tarvolin_plain (the same run with
// the match builder and the error margins as plain loops) on large
// generated suites, checks that both write the same reports and console,
// and shows where the program's own run spends its time.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bench_child.h"
#include "run/run.h"
#include "suite_generator.h"

namespace {

using namespace tarvolin::bench;

const char* const USAGE =
    "usage: tarvolin_bench [options]\n"
    "  --cases LIST    comma-separated cases to run, out of dense,dense500,sparse,typical\n"
    "                  (default: all four)\n"
    "  --runs N        runs of each side per case, the best one counts (default: 3)\n"
    "  --dir DIR       keep the generated suites and the reports in DIR (default: a\n"
    "                  temporary directory, removed at the end)\n"
    "  --program PATH  the program to time (default: the tarvolin built beside it)\n"
    "  --plain PATH    the plain-loop run to time against (default: the tarvolin_plain\n"
    "                  built beside it)\n"
    "  --help          print this text and exit\n";

const char* const ANSWERS = "../suite\n2600\n\n";

struct Case {
  const char* name;
  const char* label;
  tarvolin::suite::Params params;
};

std::vector<Case> all_cases() {
  tarvolin::suite::Params dense;
  dense.programs = 1000;
  dense.positions = 2000;
  dense.density = 1.0;
  dense.solved_share = 0.7;
  dense.limits = {30.0, 60.0, 120.0, 300.0};
  dense.offset_min = 0.0;
  dense.offset_max = 1.0;
  dense.seed = 1;
  tarvolin::suite::Params half = dense;
  half.programs = 500;
  half.seed = 4;
  tarvolin::suite::Params sparse = dense;
  sparse.density = 0.1;
  sparse.seed = 2;
  tarvolin::suite::Params typical = dense;
  typical.programs = 60;
  typical.positions = 1000;
  typical.density = 0.9;
  typical.seed = 3;
  return {{"dense", "dense 1000 x 2000, 100 %", dense},
          {"dense500", "dense 500 x 2000, 100 %", half},
          {"sparse", "sparse 1000 x 2000, 10 %", sparse},
          {"typical", "typical 60 x 1000, 90 %", typical}};
}

bool listed(const std::string& list, const std::string& name) {
  return ("," + list + ",").find("," + name + ",") != std::string::npos;
}

// Phase ends of the in-process run, with the time since its start.
std::vector<std::pair<std::string, double>> phase_ends;
std::chrono::steady_clock::time_point profile_start;

void note_phase(const char* phase) {
  phase_ends.emplace_back(
      phase,
      std::chrono::duration<double>(std::chrono::steady_clock::now() - profile_start).count());
}

// The program's run once more, in this process, with a clock on each phase;
// prints the phases that took longest.
void print_profile(const std::string& directory) {
  std::string here = std::filesystem::current_path();
  std::FILE* in =
      fmemopen(const_cast<char*>(ANSWERS), std::char_traits<char>::length(ANSWERS), "r");
  std::FILE* out = std::fopen("/dev/null", "w");
  if (in == nullptr || out == nullptr || chdir(directory.c_str()) != 0) return;
  tarvolin::RunHooks hooks = tarvolin::program_hooks();
  hooks.phase_done = note_phase;
  phase_ends.clear();
  profile_start = std::chrono::steady_clock::now();
  tarvolin::run(in, out, hooks);
  std::fclose(in);
  std::fclose(out);
  if (chdir(here.c_str()) != 0) return;

  std::vector<std::pair<double, std::string>> spans;
  double before = 0.0;
  for (const auto& [phase, end] : phase_ends) {
    spans.emplace_back(end - before, phase);
    before = end;
  }
  std::sort(spans.rbegin(), spans.rend());
  std::printf("  %-26s", "top phases (in process):");
  for (std::size_t i = 0; i < spans.size() && i < 4; ++i)
    std::printf(" %s %.3f s (%.0f %%)%s", spans[i].second.c_str(), spans[i].first,
                before > 0.0 ? 100.0 * spans[i].first / before : 0.0, i < 3 ? "," : "");
  std::printf("\n");
}

int usage_error(const std::string& message) {
  std::fprintf(stderr, "tarvolin_bench: %s\n%s", message.c_str(), USAGE);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string program = TARVOLIN_PROGRAM, plain = TARVOLIN_PLAIN_PROGRAM;
  std::string directory, wanted = "dense,dense500,sparse,typical";
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--help") {
      std::printf("%s", USAGE);
      return 0;
    }
    if (option != "--dir" && option != "--cases" && option != "--program" && option != "--plain" &&
        option != "--runs")
      return usage_error("unknown option '" + option + "'");
    if (i + 1 == argc) return usage_error("option " + option + " needs a value");
    std::string value = argv[++i];
    if (option == "--dir") directory = value;
    if (option == "--cases") wanted = value;
    if (option == "--program") program = value;
    if (option == "--plain") plain = value;
    if (option == "--runs") runs = std::atoi(value.c_str());
    if (runs < 1) return usage_error("--runs needs a number of at least 1");
  }
  for (std::size_t start = 0, end; start <= wanted.size(); start = end + 1) {
    end = std::min(wanted.find(',', start), wanted.size());
    if (!listed("dense,dense500,sparse,typical", wanted.substr(start, end - start)))
      return usage_error("unknown case '" + wanted.substr(start, end - start) + "'");
  }
  const bool keep = !directory.empty();
  if (!keep) {
    char pattern[] = "/tmp/tarvolin-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    directory = pattern;
  }
  mkdir(directory.c_str(), 0755);

  std::printf("best of %d runs of each side\n%-28s %10s %10s %8s %9s %9s  %s\n", runs, "case",
              "plain s", "program s", "ratio", "plain MB", "prog. MB", "reports");
  std::fflush(stdout);
  bool all_identical = true;
  for (const Case& c : all_cases()) {
    if (!listed(wanted, c.name)) continue;
    const std::string case_dir = directory + "/" + c.name;
    mkdir(case_dir.c_str(), 0755);
    const tarvolin::suite::Suite suite = tarvolin::suite::generate(c.params);
    bool written = write_file(case_dir + "/suite.pgn", suite.results);
    for (const char* side : {"plain", "program", "profile"}) {
      mkdir((case_dir + "/" + side).c_str(), 0755);
      written &= write_file(case_dir + "/" + side + "/Offset.pgn", suite.offsets);
    }
    if (!written) {
      std::fprintf(stderr, "cannot write the suite into %s\n", case_dir.c_str());
      return 1;
    }
    Measure slow = best_of(runs, plain, case_dir + "/plain", ANSWERS);
    Measure fast = best_of(runs, program, case_dir + "/program", ANSWERS);
    std::string verdict = compare_sides(case_dir + "/plain", slow, case_dir + "/program", fast);
    all_identical &= verdict == "identical";
    std::printf("%-28s %10.3f %10.3f %7.1fx %9.1f %9.1f  %s\n", c.label, slow.seconds, fast.seconds,
                fast.seconds > 0.0 ? slow.seconds / fast.seconds : 0.0, slow.peak_kb / 1024.0,
                fast.peak_kb / 1024.0, verdict.c_str());
    print_profile(case_dir + "/profile");
    std::fflush(stdout);
  }
  if (!keep) std::filesystem::remove_all(directory);
  return all_identical ? 0 : 1;
}
