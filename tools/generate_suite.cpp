// tarvolin_generate: writes a synthetic result file and its "Offset.pgn" into
// one output folder, the same files for the same arguments. It never writes
// anywhere else, and never over an existing file unless --force is given.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "suite_generator.h"

namespace {

const char USAGE[] =
    "usage: tarvolin_generate [OPTION VALUE]... [--force]\n"
    "\n"
    "Writes a synthetic result file DIR/NAME.pgn and its offset file DIR/Offset.pgn;\n"
    "answer NAME to tarvolin's first question in DIR.\n"
    "\n"
    "  --out DIR           output folder, made if missing (default: suite)\n"
    "  --name NAME         result file name without \".pgn\" (default: suite)\n"
    "  --programs N        number of programs (default: 10)\n"
    "  --positions N       number of positions (default: 20)\n"
    "  --density D         share of program x position cells tested, 0..1 (default: 1)\n"
    "  --solved S          aimed-at share of tested cells solved, 0..1 (default: 0.7)\n"
    "  --limits L1,L2,...  time limits in seconds, given to the programs in turn\n"
    "                      (default: 60)\n"
    "  --offsets MIN:MAX   range of the programs' time offsets in seconds (default: 0:1)\n"
    "  --offset-share S    share of programs with offset samples, 0..1 (default: 0.5)\n"
    "  --groups N          blocks of programs and positions that never meet, one\n"
    "                      cluster each (default: 1)\n"
    "  --seed N            random seed; the same seed gives the same files (default: 1)\n"
    "  --force             replace NAME.pgn and Offset.pgn in DIR if they exist\n"
    "  -h, --help          print this help and exit\n"
    "\n"
    "Exit codes: 0 files written, 1 a file exists or cannot be written, 2 bad usage.\n";

int usage_error(const std::string& message) {
  std::fprintf(stderr, "tarvolin_generate: %s\n%s", message.c_str(), USAGE);
  return 2;
}

bool to_int(const char* text, int& value) {
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || number < 0 || number > 1000000) return false;
  value = static_cast<int>(number);
  return true;
}

bool to_double(const char* text, char** end, double& value) {
  value = std::strtod(text, end);
  return *end != text && std::isfinite(value);
}

bool to_double(const char* text, double& value) {
  char* end = nullptr;
  return to_double(text, &end, value) && *end == '\0';
}

bool to_share(const char* text, double& value) {
  return to_double(text, value) && value >= 0.0 && value <= 1.0;
}

bool to_limits(const char* text, std::vector<double>& limits) {
  limits.clear();
  for (char* rest = const_cast<char*>(text);;) {
    double limit = 0.0;
    if (!to_double(rest, &rest, limit) || !(limit > 0.0)) return false;
    limits.push_back(limit);
    if (*rest == '\0') return true;
    if (*rest++ != ',') return false;
  }
}

bool to_range(const char* text, double& low, double& high) {
  char* rest = nullptr;
  return to_double(text, &rest, low) && *rest == ':' && to_double(rest + 1, high) && low <= high;
}

bool write_file(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  tarvolin::suite::Params params;
  std::string folder = "suite", name = "suite";
  bool force = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(USAGE, stdout);
      return 0;
    }
    if (option == "--force") {
      force = true;
      continue;
    }
    if (option.rfind("--", 0) != 0 || option.size() == 2)
      return usage_error("unknown option '" + option + "'");
    if (i + 1 >= argc) return usage_error("option '" + option + "' needs a value");
    const char* value = argv[++i];
    bool ok = true;
    if (option == "--programs") {
      ok = to_int(value, params.programs) && params.programs >= 1;
    } else if (option == "--positions") {
      ok = to_int(value, params.positions) && params.positions >= 1;
    } else if (option == "--density") {
      ok = to_share(value, params.density);
    } else if (option == "--solved") {
      ok = to_share(value, params.solved_share);
    } else if (option == "--limits") {
      ok = to_limits(value, params.limits);
    } else if (option == "--offsets") {
      ok = to_range(value, params.offset_min, params.offset_max);
    } else if (option == "--offset-share") {
      ok = to_share(value, params.offset_share);
    } else if (option == "--groups") {
      ok = to_int(value, params.groups) && params.groups >= 1;
    } else if (option == "--seed") {
      char* end = nullptr;
      params.seed = std::strtoull(value, &end, 10);
      ok = end != value && *end == '\0' && value[0] != '-';
    } else if (option == "--out") {
      folder = value;
      ok = !folder.empty();
    } else if (option == "--name") {
      name = value;
      // The name stays a plain file name, so nothing lands outside the folder
      // and the offset file keeps its own name.
      ok = !name.empty() && name.find('/') == std::string::npos && name != "Offset";
    } else {
      return usage_error("unknown option '" + option + "'");
    }
    if (!ok) return usage_error("bad value '" + std::string(value) + "' for " + option);
  }

  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string results_path = folder + "/" + name + ".pgn";
  const std::string offsets_path = folder + "/Offset.pgn";
  std::error_code error;
  if (!force) {
    for (const std::string& path : {results_path, offsets_path}) {
      if (std::filesystem::exists(path, error)) {
        std::fprintf(stderr, "tarvolin_generate: %s exists; --force replaces it\n", path.c_str());
        return 1;
      }
    }
  }
  std::filesystem::create_directories(folder, error);
  tarvolin::suite::Suite suite = tarvolin::suite::generate(params);
  for (const auto& [path, text] :
       {std::pair{results_path, &suite.results}, std::pair{offsets_path, &suite.offsets}}) {
    if (!write_file(path, *text)) {
      std::fprintf(stderr, "tarvolin_generate: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  std::printf("Wrote %s (%d programs, %d positions) and %s\n", results_path.c_str(),
              params.programs, params.positions, offsets_path.c_str());
  return 0;
}
