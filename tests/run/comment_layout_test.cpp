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

struct Case {
  const char* what;
  std::string written;
  std::string plain;
};

TEST(CommentLayout, ResultCommentsReadAsTheirPlainForm) {
  const std::string results = "{'Alpha' 30s, 'Beta' >60s}";
  const Case cases[] = {
      {"blank after the brace", "{ 'Alpha' 30s, 'Beta' >60s}", results},
      {"CR LF after the brace", "{\r\n'Alpha' 30s, 'Beta' >60s}", results},
      {"tab, vertical tab, form feed, lone CR", "{\t\v\f\r 'Alpha' 30s, 'Beta' >60s}", results},
      {"remark first", "{Hard one} {'Alpha' 30s, 'Beta' >60s}", results},
      {"remark holding a tag and a brace", "{see [FEN \"x\"] {here} {'Alpha' 30s, 'Beta' >60s}",
       results},
      {"a later result comment still ignored", "{Hard} {'Alpha' 30s, 'Beta' >60s} {'Alpha' 1s}",
       results},
      {"indented empty comment is the result comment", "{ } {'Alpha' 30s, 'Beta' >60s}", "{}"},
      {"indented leading comma", "{ , 'Alpha' 30s, 'Beta' >60s}", "{, 'Alpha' 30s, 'Beta' >60s}"},
  };
  const std::string plain_run = run_all(suite(results), "");
  // The plain file itself: Alpha and Beta tried on both positions.
  ASSERT_NE(plain_run.find("(1) Alpha\n(2) Beta\n(3) Gamma\n3 programs\n2 positions\n"),
            std::string::npos)
      << plain_run;
  for (const Case& c : cases) {
    std::string expected = c.plain == results ? plain_run : run_all(suite(c.plain), "");
    EXPECT_EQ(run_all(suite(c.written), ""), expected) << c.what;
  }
}

TEST(CommentLayout, OffsetCommentsReadAsTheirPlainForm) {
  const std::string warm_up = "[Event \"warm-up\"]\n{'Alpha' 9s, 'Beta' 9s}\n";
  const std::string samples = "{'Alpha' 2s, 'Beta' 4s}";
  const Case cases[] = {
      {"blank after the brace", "{ 'Alpha' 2s, 'Beta' 4s}", samples},
      {"indented remark", "{\n  machine two\n}\n{ 'Alpha' 2s, 'Beta' 4s}", samples},
  };
  const std::string plain_run =
      run_all(suite("{'Alpha' 30s, 'Beta' >60s}"), warm_up + "[Event \"o\"]\n" + samples + "\n");
  // Alpha's offset 2 s, Beta's 4 s: the samples were taken.
  ASSERT_NE(plain_run.find("TimeOffset      :    2.00 s"), std::string::npos) << plain_run;
  ASSERT_NE(plain_run.find("TimeOffset      :    4.00 s"), std::string::npos) << plain_run;
  for (const Case& c : cases) {
    EXPECT_EQ(run_all(suite("{'Alpha' 30s, 'Beta' >60s}"),
                      warm_up + "[Event \"o\"]\n" + c.written + "\n"),
              plain_run)
        << c.what;
  }
}

}  // namespace
}  // namespace tarvolin::testing
