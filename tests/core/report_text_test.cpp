#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/compiled_format.h"
#include "core/exact_format.h"
#include "core/report_stream.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

// Counts the arguments whose formatting differs from what snprintf writes and
// keeps the first difference for the failure message.
struct Comparison {
  long compared = 0, differing = 0;
  std::string first;
  FormatCache formats;  // one for every check, as a stream keeps one for every line

  template <typename... Args>
  void check(const char* format, Args... args) {
    ++compared;
    std::string ours = "<";  // appended to, never replaced
    const bool done = append_format(ours, formats, format, args...);
    const int length = std::snprintf(nullptr, 0, format, args...);
    std::vector<char> text(length < 0 ? 1 : length + 1);
    if (length >= 0) std::snprintf(text.data(), text.size(), format, args...);
    std::string theirs = "<";
    theirs.append(text.data(), length < 0 ? 0 : length);
    if ((!done || ours != theirs) && differing++ == 0)
      first = std::string(format).append(": '").append(ours).append("' for '").append(theirs);
  }
  ~Comparison() { EXPECT_EQ(differing, 0) << compared << " compared, first " << first; }
};

constexpr double INF = std::numeric_limits<double>::infinity();

TEST(ExactFormat, DoublesOfEveryMagnitudeAndExactHalvesAsPrintfWritesThem) {
  std::mt19937_64 random(12);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> values = {0.0,          -0.0, INF,      -INF,  nan,  -nan,  1e300, DBL_MAX,
                                DBL_TRUE_MIN, 0.05, 0.049999, -0.04, 9.95, 99.95, 999.5};
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-20, 300);
  for (int i = 0; i < 1500; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    values.push_back(i % 2 == 0 ? value : -value);
    values.push_back(std::bit_cast<double>(random()));  // subnormals, NaN payloads
  }
  // Neighbours of the steps of 0.05 where one or two printed digits flip, and k / 2^(p + 1) with k
  // odd, exactly between two values printed with p decimals, where the last digit rounds to even.
  for (int k = -1000; k <= 1000; ++k) {
    for (double v : {std::nextafter(k * 0.05, -INF), k * 0.05, std::nextafter(k * 0.05, INF)})
      values.push_back(v);
    const double odd = static_cast<double>((random() >> 20) | 1);
    for (int p : {0, 1, 2, 6}) values.push_back(std::ldexp(k < 0 ? -odd : odd, -(p + 1)));
  }
#ifdef _WIN32
  // The Windows C library drops the sign of a NaN that glibc prints; the
  // reports keep glibc's "-nan" on both systems.
  std::erase_if(values, [](double v) { return std::isnan(v) && std::signbit(v); });
  std::string text;
  FormatCache formats;
  EXPECT_TRUE(append_format(text, formats, "%f|%5.1f|%-5.0f|", -nan, -nan, -nan));
  EXPECT_EQ(text, "-nan| -nan|-nan |");
#endif
  Comparison c;
  for (const char* format : {"%f", "%.0f", "%.1f", "%.2f", "%+.1f", "%4.0f", "%6.1f", "%7.2f",
                             "%08.3f", "%-9.2f|", "% .1f", "%+07.1f", "%-+8.0f|", "%.17f", "%.40f"})
    for (double v : values) c.check(format, v);
}

// Integers, text and characters as printf writes them; anything beyond the
// conversions the reports use still reaches the output as printf writes it.
TEST(ExactFormat, IntegersTextAndForeignConversions) {
  std::mt19937_64 random(7);
  std::vector<long> values = {0, -1, INT_MIN, INT_MAX, LONG_MIN, LONG_MAX};
  for (int i = 0; i < 2000; ++i) values.push_back(static_cast<long>(random()) >> (i % 60));
  Comparison c;
  for (long v : values) {
    for (const char* format : {"%d", "%3d", "%-6d|", "%+d", "% 05d", "%.5d", "%.0d", "%u"})
      c.check(format, static_cast<int>(v));
    for (const char* format : {"%ld", "%5ld", "%-22ld|", "%025ld", "%lu"}) c.check(format, v);
  }
  const std::string long_name(100, 'n');
  for (const char* text : {"", "A", long_name.c_str()})
    for (const char* format : {"%s", "%-40s|", "%12s", "%.3s", "%-6.2s|", "%.0s"})
      c.check(format, text);
  for (int ch : {int{'+'}, 0, 200}) c.check("%c|%3c|%-3c|", ch, ch, ch);
  // Lines around the length where the formatter hands its text on.
  for (std::size_t length = 430; length < 520; ++length)
    c.check("%s%-80s|%5d%7.2f", std::string(length, 'a').c_str(), "b", 12345, -0.5);
  FormatCache formats;
  for (const char* format : {"%d %i %u %ld %lu %c %s %f %%", "%-+ 012.3f", "%.0d"})
    EXPECT_TRUE(formats.compiled(format).native) << format;
  for (const char* format : {"%e", "%x", "%lld", "%Lf", "%1$d", "%5%", "%05s", "%+u", "%ls",
                             "%.401f", "%2000000d", "%*d", "%#.0f", "%d %g"})
    EXPECT_FALSE(formats.compiled(format).native) << format;
  c.check("%d|%s|%e|%x|%lld|%g", 5, "known up to here", 1234.5, 255u, -5LL, 0.0001);
  c.check("%.401f", 0.1);
  // One buffer holding one format after another, each a prefix or an extension of the last.
  char reused[16];
  for (const char* format : {"%5d|%d", "%5d|", "%-5d|", "%-5d|%d", "%-5d|%c", "%%%d"})
    c.check(std::strcpy(reused, format), 42, 'x');
  c.check("%*d|%-*.*f|", 2000000, 3, -7, 2, 0.125);
  // printf's own failure, a field wider than INT_MAX, leaves the text as it
  // was. The Windows C library takes such a field without failing.
#ifndef _WIN32
  std::string text = "kept";
  const std::string too_wide = std::string("%d%").append(std::to_string(2147483648L)).append("d");
  EXPECT_FALSE(append_format(text, formats, too_wide.c_str(), 2, 3));
  EXPECT_EQ(text, "kept");
#endif
}

using testing::read_stream;
using testing::ScratchDir;

// Lines across blocks, one far longer than a block, and a conversion only printf knows arrive in
// order; an uncreatable file and a full device (failing at close when short, while printing when
// long) are announced once each and close() tells.
TEST(ReportStream, EveryByteArrivesOrTheFailureIsAnnouncedOnce) {
  ScratchDir dir;
  const std::string huge(3 * ReportStream::BLOCK + 17, 'h');
  // file, lines, announced before close
  using Case = std::tuple<std::string, int, bool>;
  const Case cases[] = {{"r.dat", 150000, false},
                        {"missing-folder/r.dat", 1, true},
                        {"/dev/full", 3, false},
                        {"/dev/full", 200000, true}};
  for (const auto& [file, lines, announced_early] : cases) {
#ifdef _WIN32
    if (file == "/dev/full") continue;  // no device there that is always full
#endif
    std::FILE* console = testing::temporary_file();
    const bool writable = file == "r.dat";
    const std::string announcement = writable ? "" : "\nCannot write '" + file + "'\n";
    std::string expected;
    ReportStream out(file.c_str(), console);
    char line[64];
    for (int i = 0; i < lines; ++i) {
      out.print("%5d %-6s|%6.2f %%\n", i, "name", i / 8.0);
      expected.append(line, std::snprintf(line, 64, "%5d %-6s|%6.2f %%\n", i, "name", i / 8.0));
      if (i == 70000) out.print("[%s]%.1e\n", huge.c_str(), 1234.5);
      if (i == 70000) expected.append("[" + huge + "]1.2e+03\n");
    }
    EXPECT_EQ(read_stream(console), announced_early ? announcement : "") << file << lines;
    EXPECT_EQ((std::array{out.close(), out.close()}), (std::array{writable, writable}));
    out.print("after the end\n");
    EXPECT_EQ(read_stream(console), announcement) << file << lines;
    std::fclose(console);
    EXPECT_TRUE(!writable || dir.read("r.dat") == expected);
  }
}

}  // namespace
}  // namespace tarvolin
