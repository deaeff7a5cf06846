// tarvolin_generate: writes a synthetic result file and its "Offset.pgn".
//
//   tarvolin_generate [--programs N] [--positions N] [--density D]
//                     [--solved S] [--limits 60,120,...] [--offsets MIN:MAX]
//                     [--offset-share S] [--groups N] [--seed N] [--out NAME]
//
// NAME.pgn and Offset.pgn are written beside each other (NAME may hold a
// directory). The same arguments always give the same files.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "suite_generator.h"

namespace {

bool write_file(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

int usage() {
  std::fprintf(stderr,
               "usage: tarvolin_generate [--programs N] [--positions N] [--density D]\n"
               "       [--solved S] [--limits L1,L2,...] [--offsets MIN:MAX]\n"
               "       [--offset-share S] [--groups N] [--seed N] [--out NAME]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  tarvolin::suite::Params params;
  std::string out = "suite";
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (i + 1 >= argc) return usage();
    const char* value = argv[++i];
    if (option == "--programs") {
      params.programs = std::atoi(value);
    } else if (option == "--positions") {
      params.positions = std::atoi(value);
    } else if (option == "--density") {
      params.density = std::atof(value);
    } else if (option == "--solved") {
      params.solved_share = std::atof(value);
    } else if (option == "--limits") {
      params.limits.clear();
      for (char* rest = const_cast<char*>(value); *rest != '\0';) {
        double limit = std::strtod(rest, &rest);
        if (!(limit > 0.0)) return usage();
        params.limits.push_back(limit);
        if (*rest == ',') ++rest;
      }
    } else if (option == "--offsets") {
      char* rest = nullptr;
      params.offset_min = std::strtod(value, &rest);
      if (*rest != ':') return usage();
      params.offset_max = std::strtod(rest + 1, nullptr);
    } else if (option == "--offset-share") {
      params.offset_share = std::atof(value);
    } else if (option == "--groups") {
      params.groups = std::atoi(value);
    } else if (option == "--seed") {
      params.seed = std::strtoull(value, nullptr, 10);
    } else if (option == "--out") {
      out = value;
    } else {
      return usage();
    }
  }
  if (params.programs < 1 || params.positions < 1 || params.limits.empty()) return usage();

  tarvolin::suite::Suite suite = tarvolin::suite::generate(params);
  std::string directory;
  std::size_t slash = out.rfind('/');
  if (slash != std::string::npos) directory = out.substr(0, slash + 1);
  if (!write_file(out + ".pgn", suite.results) ||
      !write_file(directory + "Offset.pgn", suite.offsets)) {
    std::fprintf(stderr, "cannot write %s.pgn or %sOffset.pgn\n", out.c_str(), directory.c_str());
    return 1;
  }
  return 0;
}
