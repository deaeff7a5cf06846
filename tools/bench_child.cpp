#include "bench_child.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace tarvolin::bench {

namespace {

const char* const REPORTS[] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                               "positions.dat"};

std::string without_timing(const std::string& console) {
  std::size_t at = console.find("CPU time = ");
  if (at == std::string::npos) return console;
  std::size_t end = console.find('\n', at);
  return console.substr(0, at) + console.substr(end == std::string::npos ? console.size() : end);
}

}  // namespace

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

Measure run_child(const std::string& binary, const std::string& directory,
                  const std::string& input) {
  Measure measure;
  const std::string console_path = directory + "/console.txt";
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return measure;
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[0], 0);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    if (chdir(directory.c_str()) != 0) _exit(126);
    if (std::freopen(console_path.c_str(), "w", stdout) == nullptr) _exit(126);
    execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
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
  measure.console = read_file(console_path);
  return measure;
}

Measure best_of(int runs, const std::string& binary, const std::string& directory,
                const std::string& input) {
  Measure best;
  for (int i = 0; i < runs; ++i) {
    Measure m = run_child(binary, directory, input);
    if (i > 0) {
      m.seconds = std::min(m.seconds, best.seconds);
      m.peak_kb = std::max(m.peak_kb, best.peak_kb);
    }
    best = m;
  }
  return best;
}

std::string compare_sides(const std::string& plain_dir, const Measure& plain,
                          const std::string& program_dir, const Measure& program) {
  if (plain.status != 0 || program.status != 0) return "exit status differs from 0";
  std::string differing;
  for (const char* report : REPORTS) {
    std::string a = read_file(plain_dir + "/" + report);
    std::string b = read_file(program_dir + "/" + report);
    if (a.empty() || a != b) differing += std::string(differing.empty() ? "" : ",") + report;
  }
  if (without_timing(plain.console) != without_timing(program.console))
    differing += std::string(differing.empty() ? "" : ",") + "console";
  return differing.empty() ? "identical" : "DIFFER: " + differing;
}

}  // namespace tarvolin::bench
