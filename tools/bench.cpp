// tarvolin_bench: times tarvolin against the plain-loop reference on large
// generated suites and checks that both write the same five reports.
//
//   tarvolin_bench [--dir DIR] [--cases dense,sparse,typical,read]
//                  [--program PATH] [--reference PATH]
//
// Every run is a child process answering the dialogue through a pipe; its
// wall-clock time and peak resident memory (wait4) go into one table. The
// reading case times the result file reader alone, in a child of this
// program, for both readers.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/tables.h"
#include "input/char_source.h"
#include "input/result_file.h"
#include "reference/reference.h"
#include "suite_generator.h"

namespace {

const char* const REPORTS[] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                               "positions.dat"};

struct Case {
  const char* name;
  const char* label;
  tarvolin::suite::Params params;
  bool read_only;
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

  tarvolin::suite::Params sparse = dense;
  sparse.density = 0.1;
  sparse.seed = 2;

  tarvolin::suite::Params typical = dense;
  typical.programs = 60;
  typical.positions = 1000;
  typical.density = 0.9;
  typical.seed = 3;

  return {{"dense", "dense 1000 x 2000, 100 %", dense, false},
          {"sparse", "sparse 1000 x 2000, 10 %", sparse, false},
          {"typical", "typical 60 x 1000, 90 %", typical, false},
          {"read", "reading the dense file", dense, true}};
}

bool write_file(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

struct Measure {
  double seconds = 0.0;
  long peak_kb = 0;
  int status = -1;
  std::string output;  // the child's standard output
};

// Runs argv in directory with input on a pipe and standard output into
// out_path. Wall-clock time from fork to reaping.
Measure run_child(const std::vector<std::string>& argv, const std::string& directory,
                  const std::string& input, const std::string& out_path) {
  Measure measure;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return measure;
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[0], 0);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    if (chdir(directory.c_str()) != 0) _exit(126);
    std::FILE* out = std::freopen(out_path.c_str(), "w", stdout);
    if (out == nullptr) _exit(126);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipe_ends[0]);
  if (write(pipe_ends[1], input.data(), input.size()) < 0) { /* the child reads what it needs */
  }
  close(pipe_ends[1]);
  struct rusage usage;
  int status = 0;
  if (child > 0 && wait4(child, &status, 0, &usage) == child) {
    measure.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.peak_kb = usage.ru_maxrss;
    measure.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  measure.output = read_file(directory + "/" + out_path);
  return measure;
}

// Child side of the reading case: sets up the tables, reads the file with
// one of the readers, prints the reading time and a digest of what was read.
int read_only(const char* which, const char* path) {
  auto tables = std::make_unique<tarvolin::Tables>();
  std::FILE* null_console = std::fopen("/dev/null", "w");
  auto start = std::chrono::steady_clock::now();
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return 1;
  if (std::strcmp(which, "reference") == 0) {
    tarvolin::reference::read_result_file(*tables, file, null_console);
  } else {
    auto source = std::make_unique<tarvolin::CharSource>(file);
    tarvolin::read_result_file(*tables, *source, null_console);
  }
  std::fclose(file);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  // FNV-1a over the names, FENs, labels and the bits of every time.
  uint64_t digest = 14695981039346656037ULL;
  auto mix = [&digest](const void* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      digest ^= static_cast<const unsigned char*>(data)[i];
      digest *= 1099511628211ULL;
    }
  };
  const tarvolin::Tables& t = *tables;
  for (int p = 1; p <= t.program_count; ++p) {
    mix(t.program_name[p].data(), t.program_name[p].size() + 1);
    mix(t.solve_time[p], sizeof(double) * (t.position_count + 1));
  }
  for (int q = 1; q <= t.position_count; ++q) {
    mix(t.position_fen[q].data(), t.position_fen[q].size() + 1);
    mix(t.position_label[q].data(), t.position_label[q].size() + 1);
  }
  std::printf("%.6f %d %d %016llx\n", seconds, t.program_count, t.position_count,
              static_cast<unsigned long long>(digest));
  return 0;
}

std::string self_path() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// Runs one side of a case; for the reading case the reported time is the
// reader's own, not the process's.
Measure run_side(const Case& c, const std::string& binary, const std::string& side,
                 const std::string& case_dir) {
  std::string directory = case_dir + "/" + side;
  mkdir(directory.c_str(), 0755);
  if (c.read_only) {
    Measure m = run_child({self_path(), "--read-only", side, case_dir + "/suite.pgn"}, directory,
                          "", "read.txt");
    m.seconds = std::atof(m.output.c_str());
    m.output = m.output.substr(m.output.find(' ') + 1);
    return m;
  }
  write_file(directory + "/Offset.pgn", read_file(case_dir + "/Offset.pgn"));
  return run_child({binary}, directory, "../suite\n2600\n\n", "console.txt");
}

std::string without_timing(const std::string& console) {
  std::size_t at = console.find("CPU time = ");
  if (at == std::string::npos) return console;
  std::size_t end = console.find('\n', at);
  return console.substr(0, at) + console.substr(end == std::string::npos ? console.size() : end);
}

// Same reports and console (timing aside), or the same digest when reading.
std::string compare_sides(const Case& c, const Measure& reference, const Measure& program,
                          const std::string& case_dir) {
  if (reference.status != 0 || program.status != 0) return "exit status differs from 0";
  if (c.read_only) return reference.output == program.output ? "identical" : "TABLES DIFFER";
  std::string differing;
  for (const char* report : REPORTS) {
    std::string a = read_file(case_dir + "/reference/" + report);
    std::string b = read_file(case_dir + "/program/" + report);
    if (a.empty() || a != b) differing += std::string(differing.empty() ? "" : ",") + report;
  }
  if (without_timing(reference.output) != without_timing(program.output))
    differing += std::string(differing.empty() ? "" : ",") + "console";
  return differing.empty() ? "identical" : "DIFFER: " + differing;
}

// Whether name is one of the comma-separated names in list.
bool listed(const std::string& list, const std::string& name) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = list.find(',', start);
    if (list.compare(start, end == std::string::npos ? std::string::npos : end - start, name) == 0)
      return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--read-only") == 0) return read_only(argv[2], argv[3]);

  std::string program = TARVOLIN_PROGRAM, reference = TARVOLIN_REFERENCE_PROGRAM;
  std::string directory, wanted = "dense,sparse,typical,read";
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--dir")
      directory = argv[i + 1];
    else if (option == "--cases")
      wanted = argv[i + 1];
    else if (option == "--program")
      program = argv[i + 1];
    else if (option == "--reference")
      reference = argv[i + 1];
  }
  if (argc % 2 == 0) {
    std::fprintf(stderr,
                 "usage: tarvolin_bench [--dir DIR] [--cases dense,sparse,typical,read]\n"
                 "                      [--program PATH] [--reference PATH]\n");
    return 2;
  }
  bool keep = !directory.empty();
  if (!keep) {
    char pattern[] = "/tmp/tarvolin-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    directory = pattern;
  }
  mkdir(directory.c_str(), 0755);

  std::printf("%-28s %12s %12s %8s %10s %10s  %s\n", "case", "reference s", "program s", "ratio",
              "ref. MB", "prog. MB", "reports");
  std::fflush(stdout);
  bool all_identical = true;
  std::set<std::string> generated;  // the reading case reuses the dense suite
  for (const Case& c : all_cases()) {
    if (!listed(wanted, c.name)) continue;
    std::string case_dir = directory + "/" + (c.read_only ? "dense" : c.name);
    if (generated.insert(case_dir).second) {
      mkdir(case_dir.c_str(), 0755);
      tarvolin::suite::Suite suite = tarvolin::suite::generate(c.params);
      if (!write_file(case_dir + "/suite.pgn", suite.results) ||
          !write_file(case_dir + "/Offset.pgn", suite.offsets)) {
        std::fprintf(stderr, "cannot write the suite into %s\n", case_dir.c_str());
        return 1;
      }
    }
    Measure ref = run_side(c, reference, "reference", case_dir);
    Measure prog = run_side(c, program, "program", case_dir);
    std::string verdict = compare_sides(c, ref, prog, case_dir);
    all_identical &= verdict == "identical";
    std::printf("%-28s %12.3f %12.3f %7.1fx %10.1f %10.1f  %s\n", c.label, ref.seconds,
                prog.seconds, prog.seconds > 0.0 ? ref.seconds / prog.seconds : 0.0,
                ref.peak_kb / 1024.0, prog.peak_kb / 1024.0, verdict.c_str());
    std::fflush(stdout);
  }
  if (!keep) std::filesystem::remove_all(directory);
  return all_identical ? 0 : 1;
}
