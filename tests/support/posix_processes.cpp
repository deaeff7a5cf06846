// The parts of the test support that start the real binary through a shell
// or cap this process's memory: POSIX only, so the Windows test binary
// leaves this file and the tests that use it out.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/scratch.h"

namespace tarvolin::testing {

namespace fs = std::filesystem;

// Standard input comes from a file outside the scratch folder, one per test process.
RunResult run_binary(const std::string& input, bool input_closed, const std::string& limits) {
  const std::string input_path =
      (fs::temp_directory_path() / ("tarvolin-input-" + std::to_string(getpid()))).string();
  std::ofstream(input_path, std::ios::binary) << input;
  std::string command = limits + "'" + TARVOLIN_BINARY + "' " +
                        (input_closed ? "<&- " : "< '" + input_path + "' ") + "2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("popen failed");
  RunResult result{read_stream(pipe), 0};
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::remove(input_path.c_str());
  return result;
}

bool cap_address_space(std::size_t extra) {
  long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  const bool known = statm != nullptr && std::fscanf(statm, "%ld", &pages) == 1;
  if (statm != nullptr) std::fclose(statm);
  const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + extra;
  const rlimit limit{cap, cap};
  return known && setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace tarvolin::testing
