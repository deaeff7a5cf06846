// Result and offset files as users send them: edited by hand, truncated, or
// not PGN at all. Both readers must take any bytes without crashing; the
// result file's must leave tables the later phases can rely on, and the
// offset file, read after the program registry is frozen, may only add
// samples to the programs already known.
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
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const char* broken = tarvolin::fuzz::broken_by_readers(*tables, bytes, console)) {
    std::fprintf(stderr, "a reader left the tables inconsistent: %s\n", broken);
    __builtin_trap();
  }
  return 0;
}
