// One printf conversion, as far as the exact formatter writes it itself.
#pragma once

namespace tarvolin {

struct Conversion {
  enum Flag : unsigned { LEFT = 1, PLUS = 2, SPACE = 4, ZERO = 8 };
  // Wider or more precise fields are rare enough to leave to printf, which
  // also knows how to fail on widths beyond INT_MAX.
  static constexpr int MAX_WIDTH = 1 << 20;
  static constexpr int MAX_PRECISION = 400;

  unsigned flags = 0;
  int width = 0;
  int precision = -1;  // -1: none
  bool is_long = false;
  char conversion = 0;
};

// Reads the conversion that follows a '%' and returns the character after
// it. Null when the conversion is one to leave to printf: positional
// arguments, widths or precisions from the arguments, the '#' flag, other
// length modifiers or conversions, and flags whose effect printf leaves
// undefined for the conversion.
const char* parse_conversion(const char* p, Conversion& conv);

}  // namespace tarvolin
