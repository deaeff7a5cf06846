#include "core/exact_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

#include "core/compiled_format.h"
#include "core/conversion.h"
#include "core/fixed_digits.h"
#include "core/text_collector.h"

namespace tarvolin {

namespace {

constexpr int MAX_PRECISION = Conversion::MAX_PRECISION;

// Writes sign and body into a field of the given width: padded on the
// right, with zeros after the sign, or with spaces before it.
void put_field(TextCollector& out, const Conversion& conv, bool zero_fill, char sign,
               std::string_view body) {
  const std::size_t length = body.size() + (sign != 0 ? 1 : 0);
  const std::size_t fill = static_cast<std::size_t>(conv.width) > length ? conv.width - length : 0;
  if ((conv.flags & Conversion::LEFT) == 0 && !zero_fill) out.fill(' ', fill);
  if (sign != 0) out.put(&sign, 1);
  if ((conv.flags & Conversion::LEFT) == 0 && zero_fill) out.fill('0', fill);
  out.put(body.data(), body.size());
  if ((conv.flags & Conversion::LEFT) != 0) out.fill(' ', fill);
}

char sign_of(const Conversion& conv, bool negative) {
  if (negative) return '-';
  if (conv.flags & Conversion::PLUS) return '+';
  return (conv.flags & Conversion::SPACE) ? ' ' : 0;
}

void put_integer(TextCollector& out, const Conversion& conv, bool negative,
                 unsigned long magnitude) {
  char digits[MAX_PRECISION + 24];
  char* end = std::to_chars(digits + MAX_PRECISION, std::end(digits), magnitude).ptr;
  char* begin = digits + MAX_PRECISION;
  if (conv.precision == 0 && magnitude == 0) begin = end;
  while (end - begin < conv.precision) *--begin = '0';
  const bool zero_fill = (conv.flags & Conversion::ZERO) != 0 && conv.precision < 0;
  put_field(out, conv, zero_fill, sign_of(conv, negative), std::string_view(begin, end - begin));
}

void put_double(TextCollector& out, const Conversion& conv, double value) {
  const char sign = sign_of(conv, std::signbit(value));
  if (!std::isfinite(value)) {
    put_field(out, conv, false, sign, std::isnan(value) ? "nan" : "inf");
    return;
  }
  // Room for DBL_MAX's 309 digits, the point and the precision.
  char text[320 + MAX_PRECISION];
  const int precision = conv.precision < 0 ? 6 : conv.precision;
  char* end = write_fixed(text, std::fabs(value), precision);
  put_field(out, conv, (conv.flags & Conversion::ZERO) != 0, sign,
            std::string_view(text, end - text));
}

// The whole format without printf; false as soon as a conversion needs it.
bool append_natively(TextCollector& out, const CompiledFormat& format, std::va_list args) {
  const char* text = format.text.c_str();
  for (const CompiledFormat::Piece& piece : format.pieces) {
    out.put(text + piece.literal_begin, piece.literal_length);
    if (!piece.converts) return true;
    const Conversion& conv = piece.conversion;
    switch (conv.conversion) {
      case 'd':
      case 'i': {
        const long value = conv.is_long ? va_arg(args, long) : va_arg(args, int);
        const unsigned long magnitude = static_cast<unsigned long>(value);
        put_integer(out, conv, value < 0, value < 0 ? 0UL - magnitude : magnitude);
        break;
      }
      case 'u':
        put_integer(out, conv, false,
                    conv.is_long ? va_arg(args, unsigned long) : va_arg(args, unsigned));
        break;
      case 'f':
        put_double(out, conv, va_arg(args, double));
        break;
      case 'c': {
        const char c = static_cast<char>(va_arg(args, int));
        put_field(out, conv, false, 0, std::string_view(&c, 1));
        break;
      }
      case 's': {
        const char* value = va_arg(args, const char*);
        if (value == nullptr) return false;
        const std::size_t length =
            conv.precision < 0 ? std::strlen(value) : strnlen(value, conv.precision);
        put_field(out, conv, false, 0, std::string_view(value, length));
        break;
      }
      default:
        out.put("%", 1);
    }
  }
  return true;
}

}  // namespace

bool append_vformat(std::string& out, FormatCache& formats, const char* format, std::va_list args) {
  const std::size_t mark = out.size();
  std::va_list again;
  va_copy(again, args);
  const CompiledFormat& compiled = formats.compiled(format);
  bool done = false;
  if (compiled.native) {
    TextCollector collector(out);
    done = append_natively(collector, compiled, args);
    collector.flush();
  }
  if (!done) {
    out.resize(mark);
    std::va_list last;
    va_copy(last, again);
    char small[512];
    const int length = std::vsnprintf(small, sizeof small, format, again);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
      out.append(small, length);
    } else if (length >= 0) {
      out.resize(mark + length + 1);
      std::vsnprintf(out.data() + mark, length + 1, format, last);
      out.resize(mark + length);
    }
    done = length >= 0;
    va_end(last);
  }
  va_end(again);
  return done;
}

bool append_format(std::string& out, FormatCache& formats, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const bool done = append_vformat(out, formats, format, args);
  va_end(args);
  return done;
}

}  // namespace tarvolin
