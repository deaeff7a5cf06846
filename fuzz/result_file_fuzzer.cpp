// Result files as users send them: edited by hand, truncated, or not PGN at
// all. The reader with the entry parser and the registries must take any
// bytes without crashing and leave the tables in a state the later phases
// can rely on.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "fuzz_support.h"

namespace {

tarvolin::Tables* tables = nullptr;
std::FILE* console = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tables = new tarvolin::Tables();
  console = std::fopen("/dev/null", "w");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvolin::fuzz;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tables->clear();
  read_result_bytes(*tables, bytes, console);  // an overflow is an expected end
  if (const char* broken = broken_reader_invariant(*tables)) {
    std::fprintf(stderr, "reader left the tables inconsistent: %s\n", broken);
    __builtin_trap();
  }
  return 0;
}
