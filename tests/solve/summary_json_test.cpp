#include "solve/summary_json.h"

#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

TEST(SummaryJson, StringsStayValidWhateverTheBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain 1.0", "\"plain 1.0\""},
      {"say \"hi\" \\ ok", "\"say \\\"hi\\\" \\\\ ok\""},
      {std::string("a\0b\n\x1f\x7f", 6), "\"a\\u0000b\\u000a\\u001f\x7f\""},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
       "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      {"\xff\xfe", "\"\\u00ff\\u00fe\""},                        // never UTF-8
      {"end\xc3", "\"end\\u00c3\""},                             // cut short
      {"\xc3(", "\"\\u00c3(\""},                                 // no continuation byte
      {"\xc0\xaf", "\"\\u00c0\\u00af\""},                        // overlong "/"
      {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},             // a surrogate
      {"\xf4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""},  // past U+10FFFF
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(json_string(text), expected) << expected;
}

// One engine named with a non-ASCII letter: it solves position 1 at its
// PV's 120 ms and crashes on position 2, so the run ends with exit 1.
TEST(SummaryJson, WrittenAfterARunThatEndsWithExitOne) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(2));
  std::string script = "name J\xc3\xa9\nposition " + rook_fen(0) +
                       "\ninfo time 120 pv a1a8\nbestmove a1a8\nposition " + rook_fen(1) +
                       "\ncrash-once c.flag\n";
  Finished run = run_solve("--epd s.epd " + fake_engine("j", script) +
                           " --time 0.5 --out o.pgn --summary-json sum.json");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_EQ(dir.read("sum.json"),
            "{\"engines\": [\n"
            "  {\"name\": \"J\xc3\xa9\", \"solved\": 1, \"tried\": 1, \"share_percent\": 100.000, "
            "\"mean_seconds\": 0.120, \"median_seconds\": 0.120, \"not_run\": 1, \"kept\": 0}],\n"
            "\"positions\": [\n"
            "  {\"number\": 1, \"label\": \"Pos 1\", \"fen\": \"" +
                rook_fen(0) +
                "\", \"results\": [{\"engine\": \"J\xc3\xa9\", \"entry\": \"'J\xc3\xa9' 0.120s\", "
                "\"solved\": true, \"seconds\": 0.120}]},\n"
                "  {\"number\": 2, \"label\": \"Pos 2\", \"fen\": \"" +
                rook_fen(1) +
                "\", \"results\": [{\"engine\": \"J\xc3\xa9\", \"not_run\": true}]}]}\n");
}

}  // namespace
}  // namespace tarvolin::solve::testing
