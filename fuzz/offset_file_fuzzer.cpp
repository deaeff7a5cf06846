// The offset file is read after the program registry is frozen: whatever it
// holds, it may only add samples to programs the result file introduced.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "fuzz_support.h"
#include "input/registries.h"

namespace {

tarvolin::Tables* tables = nullptr;

// Names as the entry parser squeezes them, the empty one included, so that
// fuzzed entries can hit known programs.
constexpr const char* KNOWN_PROGRAMS[] = {"Alpha", "Beta2", "", "Gamma", "x"};
constexpr int KNOWN_COUNT = sizeof KNOWN_PROGRAMS / sizeof KNOWN_PROGRAMS[0];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tables = new tarvolin::Tables();
  for (const char* name : KNOWN_PROGRAMS) tarvolin::find_or_add_program(*tables, name, nullptr);
  tables->frozen_program_count = tables->program_count;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvolin::fuzz;
  tarvolin::Tables& t = *tables;
  // Only the offset sums can change; anything else is caught below.
  for (int p = 1; p <= KNOWN_COUNT; ++p) {
    t.time_offset[p] = 0.0;
    t.offset_sample_count[p] = 0;
  }
  read_offset_bytes(t, std::string_view(reinterpret_cast<const char*>(data), size));
  bool intact = t.program_count == KNOWN_COUNT && t.position_count == 0 &&
                t.program_index.size() == static_cast<std::size_t>(KNOWN_COUNT);
  for (int p = 1; p <= KNOWN_COUNT; ++p)
    intact = intact && t.program_name[p] == KNOWN_PROGRAMS[p - 1] && t.offset_sample_count[p] >= 0;
  if (!intact) {
    std::fprintf(stderr, "the offset file changed the registries\n");
    __builtin_trap();
  }
  return 0;
}
