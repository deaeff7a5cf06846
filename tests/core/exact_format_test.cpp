#include "core/exact_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/format_spec.h"

namespace tarvolin {
namespace {

// What std::vsnprintf writes for the arguments, the formatter's yardstick.
std::string printf_bytes(const char* format, ...) {
  std::va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::vector<char> text(length < 0 ? 1 : length + 1);
  if (length >= 0) std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  va_end(args);
  return length < 0 ? "<error>" : std::string(text.data(), length);
}

// Counts the arguments whose formatting differs from printf's and keeps the
// first difference for the failure message.
struct Comparison {
  long compared = 0;
  long differing = 0;
  std::string first;

  template <typename... Args>
  void check(const char* format, Args... args) {
    ++compared;
    std::string ours = "<";  // appended to, never replaced
    const bool done = append_format(ours, format, args...);
    std::string theirs = "<";
    theirs += printf_bytes(format, args...);
    if (done && ours == theirs) return;
    if (differing++ == 0) first = std::string(format) + ": '" + ours + "' for '" + theirs + "'";
  }
};

void expect_no_difference(const Comparison& c) {
  EXPECT_EQ(c.differing, 0) << c.compared << " compared, first difference " << c.first;
}

constexpr double INF = std::numeric_limits<double>::infinity();
const double NAN_ = std::numeric_limits<double>::quiet_NaN();

// Every double conversion the reports write, and the flags they could use.
const char* const DOUBLE_FORMATS[] = {"%f",    "%.0f",     "%.1f",   "%.2f",    "%+.1f", "%3.0f",
                                      "%4.0f", "%6.0f",    "%4.1f",  "%5.1f",   "%6.1f", "%4.2f",
                                      "%6.2f", "%7.2f",    "%08.3f", "%-9.2f|", "% .1f", "%+07.1f",
                                      "%#.0f", "%-+8.0f|", "%.17f",  "%.40f"};

TEST(ExactFormat, DoublesOfEveryMagnitudeAndExactHalvesAsPrintfWritesThem) {
  std::mt19937_64 random(12);
  // clang-format off
  std::vector<double> values = {0.0, -0.0, INF, -INF, NAN_, -NAN_, 1e300, -1e300,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::denorm_min(),
                                0.05, 0.049999, -0.04, -0.0004, 9.95, 99.95, 999.5};
  // clang-format on
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-20, 300);
  for (int i = 0; i < 1500; ++i) {
    double value = mantissa(random) * std::pow(10.0, exponent(random));
    values.push_back(i % 2 == 0 ? value : -value);
    // Any bit pattern: subnormals, NaN payloads of either sign.
    values.push_back(std::bit_cast<double>(random()));
  }
  // Neighbours of the steps of 0.05 where one or two printed digits flip.
  for (int k = -1000; k <= 1000; ++k) {
    const double step = k * 0.05;
    for (double v : {std::nextafter(step, -INF), step, std::nextafter(step, INF)})
      values.push_back(v);
  }
  Comparison c;
  for (const char* format : DOUBLE_FORMATS)
    for (double v : values) c.check(format, v);
  // k / 2^(p + 1) with k odd lies exactly between two values printed with p
  // decimals: printf rounds it to the even last digit.
  EXPECT_EQ(printf_bytes("%.2f %.2f %.0f %.0f %.1f", 0.125, 0.375, 2.5, 3.5, -0.25),
            "0.12 0.38 2 4 -0.2");
  const char* formats[] = {"%.0f", "%.1f", "%.2f", "%6.1f", "%+.1f", "%7.2f", "%.6f"};
  const int decimals[] = {0, 1, 2, 1, 1, 2, 6};
  for (int f = 0; f < 7; ++f)
    for (int i = 0; i < 5000; ++i) {
      const double half = std::ldexp(static_cast<double>((random() >> 20) | 1), -(decimals[f] + 1));
      c.check(formats[f], i % 2 == 0 ? half : -half);
    }
  expect_no_difference(c);
}

TEST(ExactFormat, IntegersTextAndCharacters) {
  std::mt19937_64 random(7);
  std::vector<long> values = {0, 1, -1, INT_MIN, INT_MAX, LONG_MIN, LONG_MAX, 999, -1000, 100000};
  for (int i = 0; i < 2000; ++i) values.push_back(static_cast<long>(random()) >> (i % 60));
  Comparison c;
  for (long v : values) {
    for (const char* format : {"%d", "%3d", "%i", "%-6d|", "%+d", "% 05d", "%.5d", "%.0d", "%u"})
      c.check(format, static_cast<int>(v));
    for (const char* format : {"%ld", "%5ld", "%+ld", "%-22ld|", "%025ld", "%lu"})
      c.check(format, v);
  }
  const std::string long_name(100, 'n');
  for (const char* text : {"", "A", "forty characters of name................", long_name.c_str()})
    for (const char* format : {"%s", "%-40s|", "%-80s|", "%12s", "%.3s", "%-6.2s|", "%.0s"})
      c.check(format, text);
  for (int ch : {int{'+'}, int{'='}, int{' '}, 0, 200})
    for (const char* format : {"%c", "%3c", "%-3c|"}) c.check(format, ch);
  // Lines around the length where the formatter hands its text on, and a
  // whole rating line.
  for (std::size_t length = 430; length < 520; ++length)
    c.check("%s%-80s|%5d%7.2f", std::string(length, 'a').c_str(), "b", 12345, -0.5);
  c.check("%3d %-40s : %4.0f  %3.0f  %5ld   %5.1f %%   %4.0f   %3ld/%3ld  %5.1fs  %5.1fs   %4.2f\n",
          7, "Engine", 2611.5, 12.5, 123456L, 55.55, 2599.5, 61L, 70L, 12.25, -0.0, 0.625);
  expect_no_difference(c);
}

// The report formats stay off printf's path; anything beyond the known
// conversions still reaches the output as printf writes it.
TEST(ExactFormat, UnknownConversionsFallBackToPrintf) {
  const char* own[] = {"%d %i %u %ld %lu %c %s %f %%", "%-+ 012.3f", "%-6.2s", "%.0d",
                       "\nDegree of difficulty (based on MST2): %.1f (%+.1f) Elo\n"};
  for (const char* format : own) EXPECT_TRUE(formats_natively(format)) << format;
  const char* foreign[] = {"%e",  "%x",     "%lld",      "%Lf", "%1$d", "%5%",   "%05s", "%+u",
                           "%ls", "%.401f", "%2000000d", "%*d", "%.*f", "%#.0f", "%d %g"};
  for (const char* format : foreign) EXPECT_FALSE(formats_natively(format)) << format;

  Comparison c;
  c.check("%e|%x|%lld|%g", 1234.5, 255u, -5LL, 0.0001);
  c.check("%d|%s|%g", 5, "known up to here", 0.5);
  c.check("%.401f", 0.1);
  c.check("%s and %5%", "x");
  c.check("%*d|%-*.*f|", 2000000, 3, -7, 2, 0.125);
  expect_no_difference(c);

  // printf's own failure, a field wider than INT_MAX, leaves the text as it was.
  std::string text = "kept";
  const std::string too_wide = "%d%" + std::to_string(2147483648L) + "d";
  EXPECT_FALSE(append_format(text, too_wide.c_str(), 2, 3));
  EXPECT_EQ(text, "kept");
}

}  // namespace
}  // namespace tarvolin
