#include "core/format_spec.h"

#include <cstring>

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

const char* parse_format_spec(const char* p, FormatSpec& spec) {
  using F = FormatSpec;
  for (;; ++p) {
    if (*p == '-')
      spec.flags |= F::LEFT;
    else if (*p == '+')
      spec.flags |= F::PLUS;
    else if (*p == ' ')
      spec.flags |= F::SPACE;
    else if (*p == '0')
      spec.flags |= F::ZERO;
    else
      break;
  }
  if (!read_number(p, F::MAX_WIDTH, spec.width)) return nullptr;
  if (*p == '.' && !read_number(++p, F::MAX_PRECISION, spec.precision)) return nullptr;
  if (*p == 'l') {
    spec.is_long = true;
    ++p;
  }
  spec.conversion = *p;
  const unsigned flags = spec.flags;
  switch (spec.conversion) {
    case 'd':
    case 'i':
      break;
    case 'u':
      if (flags & (F::PLUS | F::SPACE)) return nullptr;
      break;
    case 'f':
      if (spec.is_long) return nullptr;
      break;
    case 'c':
    case 's':
      if (spec.is_long || (flags & ~F::LEFT) != 0) return nullptr;
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

bool formats_natively(const char* format) {
  for (const char* p = std::strchr(format, '%'); p != nullptr; p = std::strchr(p, '%')) {
    FormatSpec spec;
    p = parse_format_spec(p + 1, spec);
    if (p == nullptr) return false;
  }
  return true;
}

}  // namespace tarvolin
