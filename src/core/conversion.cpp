#include "core/conversion.h"

namespace tarvolin {

namespace {

// Reads digits into a field size; false when it grows past limit.
bool read_number(const char*& p, int limit, int& value) {
  value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    if (value > limit) return false;
  }
  return true;
}

}  // namespace

const char* parse_conversion(const char* p, Conversion& conv) {
  using F = Conversion;
  for (;; ++p) {
    if (*p == '-')
      conv.flags |= F::LEFT;
    else if (*p == '+')
      conv.flags |= F::PLUS;
    else if (*p == ' ')
      conv.flags |= F::SPACE;
    else if (*p == '0')
      conv.flags |= F::ZERO;
    else
      break;
  }
  if (!read_number(p, F::MAX_WIDTH, conv.width)) return nullptr;
  if (*p == '.' && !read_number(++p, F::MAX_PRECISION, conv.precision)) return nullptr;
  if (*p == 'l') {
    conv.is_long = true;
    ++p;
  }
  conv.conversion = *p;
  const unsigned flags = conv.flags;
  switch (conv.conversion) {
    case 'd':
    case 'i':
      break;
    case 'u':
      if (flags & (F::PLUS | F::SPACE)) return nullptr;
      break;
    case 'f':
      if (conv.is_long) return nullptr;
      break;
    case 'c':
    case 's':
      if (conv.is_long || (flags & ~F::LEFT) != 0) return nullptr;
      break;
    case '%':
      // Only the bare "%%": printf gives "%5%" and the like no meaning.
      if (p[-1] != '%') return nullptr;
      break;
    default:
      return nullptr;
  }
  return p + 1;
}

}  // namespace tarvolin
