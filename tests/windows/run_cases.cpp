// Runs the rating program on many case folders in one process, for the
// comparison with the Linux build: under wine a process start costs more
// than most runs. Each line of the list file names a folder holding the
// result file, perhaps Offset.pgn, and answers.txt, the text typed at the
// two questions; the console goes to console.txt in the folder, beside the
// reports, and each folder's exit code to standard output.
//
//   tarvolin_run_cases LIST-FILE
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "run/run.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tarvolin_run_cases LIST-FILE\n", stderr);
    return 2;
  }
  std::ifstream list(argv[1], std::ios::binary);
  if (!list) {
    std::fprintf(stderr, "tarvolin_run_cases: cannot read %s\n", argv[1]);
    return 2;
  }
  const fs::path home = fs::current_path();
  int cases = 0;
  for (std::string folder; std::getline(list, folder);) {
    if (folder.empty()) continue;
    std::error_code failed;
    fs::current_path(home / folder, failed);
    std::FILE* in = failed ? nullptr : std::fopen("answers.txt", "rb");
    std::FILE* out = in == nullptr ? nullptr : std::fopen("console.txt", "wb");
    if (out == nullptr) {
      std::fprintf(stderr, "tarvolin_run_cases: cannot run the case in %s\n", folder.c_str());
      return 2;
    }
    const int exit_code = tarvolin::run(in, out);
    std::fclose(in);
    std::fclose(out);
    fs::current_path(home);
    std::printf("%s %d\n", folder.c_str(), exit_code);
    ++cases;
  }
  std::fflush(stdout);
  return cases > 0 ? 0 : 2;
}
