// A format split once into its literal pieces and conversions. The reports
// print millions of lines through a handful of formats, and reading each
// format afresh for every line cost as much as writing the fields.
#pragma once

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

// format compiled, from this thread's cache while the text at that address
// is still the same; the reference holds until the next call on the thread.
const CompiledFormat& compiled_format(const char* format);

}  // namespace tarvolin
