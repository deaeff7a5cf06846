#include "core/fixed_digits.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tarvolin {

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint64_t POWERS_OF_TEN[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr int MOST_DECIMALS = 6;
// Below this, the value times 10^6 still fits 64 bits, and being below
// 2^52 it has a fractional part in its binary exponent.
constexpr double LARGEST = 1e12;

// magnitude * 10^precision rounded to the nearest integer, ties to even,
// computed from magnitude = mantissa * 2^exponent without any rounding on
// the way.
std::uint64_t scaled(double magnitude, int precision) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int exponent = (biased == 0 ? 1 : biased) - 1075;
  const std::uint64_t power = POWERS_OF_TEN[precision];
  const int shift = -exponent;
  // mantissa * 10^6 < 2^73: a shift past that leaves less than half a unit.
  if (shift > 100) return 0;
  const Wide product = static_cast<Wide>(mantissa) * power;
  const std::uint64_t whole = static_cast<std::uint64_t>(product >> shift);
  const Wide rest = product - (static_cast<Wide>(whole) << shift);
  const Wide half = static_cast<Wide>(1) << (shift - 1);
  return whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
}

}  // namespace

char* write_fixed(char* first, double magnitude, int precision) {
  // std::to_chars is exact everywhere but takes ten times as long.
  if (magnitude >= LARGEST || precision > MOST_DECIMALS)
    return std::to_chars(first, first + 310 + precision, magnitude, std::chars_format::fixed,
                         precision)
        .ptr;
  char digits[32];
  char* end = std::to_chars(digits + 8, std::end(digits), scaled(magnitude, precision)).ptr;
  char* begin = digits + 8;
  while (end - begin <= precision) *--begin = '0';  // one digit before the point
  const long whole = end - begin - precision;
  std::memcpy(first, begin, whole);
  char* out = first + whole;
  if (precision > 0) {
    *out++ = '.';
    std::memcpy(out, begin + whole, precision);
    out += precision;
  }
  return out;
}

}  // namespace tarvolin
