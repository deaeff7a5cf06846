// A whole run on a small fuzzed suite: reading, normalisation, matches,
// clusters, ratings, margins and all five reports, written into a scratch
// directory. An input may carry an offset file after a line "%Offset".
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace {

tarvolin::Tables* tables = nullptr;
std::FILE* console = nullptr;
std::string scratch;
int scratch_fd = -1;
int home_fd = -1;  // libFuzzer names its corpus and artifacts relative to it

void remove_scratch() { std::filesystem::remove_all(scratch); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tables = new tarvolin::Tables();
  console = std::fopen("/dev/null", "w");
  // Memory-backed when the system has it: five reports per input would
  // otherwise spend most of the time in the file system.
  char pattern[] = "/dev/shm/tarvolin-fuzz-XXXXXX", fallback[] = "/tmp/tarvolin-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern) != nullptr ? pattern : mkdtemp(fallback);
  scratch = made != nullptr ? made : "";
  scratch_fd = made != nullptr ? open(made, O_RDONLY | O_DIRECTORY) : -1;
  home_fd = open(".", O_RDONLY | O_DIRECTORY);
  if (scratch_fd < 0 || home_fd < 0) {
    std::perror("scratch directory");
    std::exit(1);
  }
  std::atexit(remove_scratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvolin::fuzz;
  tarvolin::Tables& t = *tables;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  t.clear();

  // The reports go to the working directory, as in a real run.
  if (fchdir(scratch_fd) != 0) std::abort();
  int reached = run_whole_computation(t, bytes, console);
  if (fchdir(home_fd) != 0) std::abort();
  if (const char* broken = reached == 2 ? broken_invariant(t) : nullptr) {
    std::fprintf(stderr, "a complete run left its tables inconsistent: %s\n", broken);
    __builtin_trap();
  }
  return 0;
}
