#include "reports/general_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/scratch.h"

namespace tarvolin {
namespace {

using testing::ScratchDir;

// Writes general.dat from t in a fresh directory; returns the file, and
// fails the test if anything reached the console.
std::string report_of(const Tables& t) {
  ScratchDir dir;
  std::FILE* console = std::tmpfile();
  EXPECT_TRUE(write_general_report(t, console));
  EXPECT_EQ(std::ftell(console), 0L);
  std::fclose(console);
  return dir.read("general.dat");
}

std::unique_ptr<Tables> summary(int32_t matches) {
  auto t = std::make_unique<Tables>();
  t->match_count = t->complete_count = matches;
  return t;
}

// The layout itself is in the worked end-to-end cases; these are the shares
// of nothing and counts wider than their fields.
TEST(GeneralReport, EmptySharesAndWideCounts) {
  std::string text = report_of(*summary(0));
  EXPECT_NE(text.find("invalid   :      0/0 ->   0.00 %\n"
                      "evaluated :      0/0 ->   0.00 %\n"
                      "among them\n"
                      "complete  :      0/0 ->   0.00 %\n"
                      "uncomplete:      0/0 ->   0.00 %\n"),
            std::string::npos)
      << text;

  auto wide = summary(1234567);
  wide->start_elo = 12345.6;
  text = report_of(*wide);
  EXPECT_NE(text.find("invalid   :      0/1234567 ->   0.00 %\n"
                      "evaluated : 1234567/1234567 -> 100.00 %\n"
                      "among them\n"
                      "complete  : 1234567/1234567 -> 100.00 %\n"
                      "uncomplete:      0/1234567 ->   0.00 %\n"
                      "\nStart Elo :  12346\n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace tarvolin
