// A format split once into its literal pieces and conversions. The reports
// print millions of lines through a handful of formats, and reading each
// format afresh for every line cost as much as writing the fields.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/conversion.h"

namespace tarvolin {

struct CompiledFormat {
  struct Piece {
    std::size_t literal_begin = 0, literal_length = 0;  // the text before the conversion
    bool converts = false;                              // false: the closing text
    Conversion conversion;
  };
  std::string text;  // the format as it was compiled
  // True when every conversion is written without std::vsnprintf: d, i, u
  // (also with l), c, s, f and %%, with the flags '-', '+', ' ' and '0'
  // where printf gives them meaning, and written widths and precisions.
  bool native = false;
  std::vector<Piece> pieces;
};

// The formats a stream has printed through, compiled. Each stream keeps its
// own, as one thread prints to it at a time. A cache per thread would be
// registered for destruction when the thread first prints, and where that
// finds no memory the C library ends the process rather than fail the call.
class FormatCache {
 public:
  // format compiled, from the cache while the text at that address is still
  // the same; the reference holds until the next call.
  const CompiledFormat& compiled(const char* format);

 private:
  // More slots than the reports have formats, so they rarely push each
  // other out.
  static constexpr std::size_t SLOTS = 64;
  struct Slot {
    const char* key = nullptr;
    CompiledFormat compiled;
  };
  std::array<Slot, SLOTS> slots_;
};

}  // namespace tarvolin
