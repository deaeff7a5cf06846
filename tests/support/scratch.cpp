#include "support/scratch.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "run/run.h"

namespace tarvolin::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "tarvolin-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  previous_ = fs::current_path().string();
  fs::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream(fs::path(path_) / name, std::ios::binary) << content;
}

bool ScratchDir::exists(const std::string& name) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(fs::path(path_) / name, ignored));
}

std::string ScratchDir::read(const std::string& name) const {
  return read_file((fs::path(path_) / name).string());
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

RunResult run_in_process(const std::string& input) {
  std::FILE* in = file_with(input);
  std::FILE* out = std::tmpfile();
  RunResult result{"", run(in, out)};
  result.console = read_stream(out);
  std::fclose(in);
  std::fclose(out);
  return result;
}

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

const char* const REPORT_NAMES[5] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                                     "positions.dat"};

std::FILE* file_with(const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  return file;
}

std::string read_stream(std::FILE* file) {
  std::string text;
  std::rewind(file);  // no effect on a pipe
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
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

std::string with_crlf(const std::string& text) {
  std::string crlf;
  for (char c : text) (c == '\n' ? crlf.append("\r") : crlf) += c;
  return crlf;
}

std::string without_timing(std::string console) {
  static const std::regex timing("CPU time = [0-9]+ sec\n");
  return std::regex_replace(console, timing, "CPU time = 0 sec\n");
}

}  // namespace tarvolin::testing
