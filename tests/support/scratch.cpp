#include "support/scratch.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <stdexcept>

#include "run/run.h"

namespace tarvolin::testing {

namespace fs = std::filesystem;

// A random name that nobody holds yet, as mkdtemp picks one, in standard C++
// so that the Windows test binary has the same folders.
ScratchDir::ScratchDir() {
  std::mt19937_64 random(std::random_device{}() ^
                         std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; path_.empty(); ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("tarvolin-test-" + std::to_string(random() % 1'000'000'000));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
    } else if (attempt == 100) {
      throw std::runtime_error("no fresh folder in " + fs::temp_directory_path().string());
    }
  }
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
  std::FILE* out = temporary_file();
  RunResult result{"", run(in, out)};
  result.console = read_stream(out);
  std::fclose(in);
  std::fclose(out);
  return result;
}

const char* const REPORT_NAMES[5] = {"general.dat", "cluster.dat", "rating.dat", "programs.dat",
                                     "positions.dat"};

std::FILE* file_with(const std::string& text) {
  std::FILE* file = temporary_file();
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

std::FILE* temporary_file() {
#ifdef _WIN32
  // tmpfile() there picks names that two test processes running at once
  // both pick, and then one of them gets no file. A random name cannot
  // clash; "D" deletes the file when it is closed.
  static std::mt19937_64 random(std::random_device{}() ^
                                std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path path = fs::temp_directory_path() / ("tarvolin-file-" + std::to_string(random()));
    if (fs::exists(path)) continue;
    if (std::FILE* file = std::fopen(path.string().c_str(), "w+bD")) return file;
  }
  return nullptr;
#else
  return std::tmpfile();
#endif
}

std::FILE* null_console() {
#ifdef _WIN32
  return std::fopen("NUL", "w");
#else
  return std::fopen("/dev/null", "w");
#endif
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
