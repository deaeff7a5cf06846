// Hand-written result comments: white space after the '{' and a remark before
// the results must read exactly as the plain comment does, in the result file
// and in Offset.pgn alike. Each case runs the binary on the hand-written file
// and on its plain twin and requires the same console and the same reports.
#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

std::string game(const std::string& fen, const std::string& comments) {
  return "[Event \"t\"]\n[Annotator \"" + fen + "\"]\n[FEN \"" + fen + "\"]\n\n" + comments +
         " *\n\n";
}

// Game 1 is fixed; game 2 carries the comment under test.
std::string suite(const std::string& second_game_comments) {
  return game("8/8/8/8/8/8/8/K6k w - - 0 1", "{'Alpha' 10s, 'Beta' 12s, 'Gamma' 20s}") +
         game("8/8/8/8/8/8/8/K5k1 w - - 0 1", second_game_comments);
}

// Console and every report of one run in a fresh folder.
std::string run_all(const std::string& results, const std::string& offsets) {
  ScratchDir dir;
  dir.write("s.pgn", results);
  if (!offsets.empty()) dir.write("Offset.pgn", offsets);
  RunResult run = run_binary("s\n2600\n\n");
  std::string all = without_timing(run.console) + "\nexit " + std::to_string(run.exit_code);
  for (const char* report : REPORT_NAMES)
    all += std::string("\n== ") + report + "\n" + dir.read(report);
  return all;
}

TEST(CommentLayout, CommentsReadAsTheirPlainForm) {
  const std::string results = "{'Alpha' 30s, 'Beta' >60s}", samples = "{'Alpha' 2s, 'Beta' 4s}";
  const std::string offsets = "[Event \"warm-up\"]\n{'Alpha' 9s, 'Beta' 9s}\n[Event \"o\"]\n";
  // What is written, as a result comment or in the offset file, and its plain form.
  const std::pair<std::string, std::string> cases[] = {
      {"{ 'Alpha' 30s, 'Beta' >60s}", results},
      {"{\r\n'Alpha' 30s, 'Beta' >60s}", results},
      {"{\t\v\f\r 'Alpha' 30s, 'Beta' >60s}", results},
      {"{see [FEN \"x\"] {here} {'Alpha' 30s, 'Beta' >60s}", results},  // remark first
      {"{Hard} {'Alpha' 30s, 'Beta' >60s} {'Alpha' 1s}", results},
      {"{ } {'Alpha' 30s, 'Beta' >60s}", "{}"},  // the indented empty comment counts
      {"{ , 'Alpha' 30s, 'Beta' >60s}", "{, 'Alpha' 30s, 'Beta' >60s}"},
      {offsets + "{ 'Alpha' 2s, 'Beta' 4s}", offsets + samples},
      {offsets + "{\n  machine two\n}\n{ 'Alpha' 2s, 'Beta' 4s}", offsets + samples},
  };
  const std::string plain = run_all(suite(results), "");
  ASSERT_NE(plain.find("(1) Alpha\n(2) Beta\n(3) Gamma\n3 programs\n2 positions\n"), plain.npos);
  const std::string with_offsets = run_all(suite(results), offsets + samples + "\n");
  // Alpha's offset 2 s, Beta's 4 s: the samples were taken.
  ASSERT_NE(with_offsets.find("TimeOffset      :    4.00 s"), plain.npos) << with_offsets;
  for (const auto& [written, plain_form] : cases) {
    const bool offset = written[0] == '[';
    const std::string expected = plain_form == results ? plain
                                 : offset              ? with_offsets
                                                       : run_all(suite(plain_form), "");
    EXPECT_EQ(offset ? run_all(suite(results), written + "\n") : run_all(suite(written), ""),
              expected)
        << written;
  }
}

}  // namespace
}  // namespace tarvolin::testing
