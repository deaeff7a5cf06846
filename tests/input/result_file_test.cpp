#include "input/result_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/run_abort.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

// Reads text as a result file into fresh tables; returns the console echo.
std::string read_text(Tables& t, const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::FILE* console = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  auto source = std::make_unique<CharSource>(file);
  read_result_file(t, *source, console);
  std::string echo;
  std::rewind(console);
  for (int c; (c = std::fgetc(console)) != EOF;) echo.push_back(static_cast<char>(c));
  std::fclose(file);
  std::fclose(console);
  return echo;
}

const std::string WORKED_EXAMPLE =
    "[Event \"Suite\"]\n"
    "[Site \"?\"]\n"
    "[Annotator \"Pos 1\"]\n"
    "[FEN \"F1\"]\n"
    "[Result \"*\"]\n"
    "\n"
    "{'Alpha' 12.3s, 'Beta 2' >60s} 1. e4 *\n"
    "\n"
    "[Event \"Suite\"]\n"
    "[FEN \"F2\"]\n"
    "[Result \"*\"]\n"
    "\n"
    "{'Beta\n2' 4s,\n'Gamma' 0.5s} 1. d4 {'Alpha' 1s} *\n";

// Windows line ends read like plain ones, the one inside Beta's name included.
TEST(ResultFile, ReadsTheWorkedExampleWithEitherLineEnd) {
  std::string crlf;
  for (char c : WORKED_EXAMPLE) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  for (const std::string& text : {WORKED_EXAMPLE, crlf}) {
    auto t = std::make_unique<Tables>();
    EXPECT_EQ(read_text(*t, text), "(1) Alpha\n(2) Beta2\n(3) Gamma\n");
    ASSERT_EQ(t->program_count, 3);
    ASSERT_EQ(t->position_count, 2);
    EXPECT_EQ(t->position_fen[1], "F1");
    EXPECT_EQ(t->position_fen[2], "F2");
    EXPECT_EQ(t->position_label[1], "Pos 1");
    EXPECT_EQ(t->position_label[2], "Pos 1");  // held from game 1
    EXPECT_EQ(t->solve_time[1][1], 12.3);
    EXPECT_EQ(t->solve_time[2][1], -60.0);
    EXPECT_EQ(t->solve_time[2][2], 4.0);
    EXPECT_EQ(t->solve_time[3][2], 0.5);
    EXPECT_EQ(t->solve_time[1][2], NOT_TESTED);  // the second comment does not count
    EXPECT_EQ(t->solve_time[3][1], NOT_TESTED);
  }
  // A lone carriage return is text.
  auto t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t, "[Event \"e\"]\r[FEN \"F1\"]\r{'Alpha' 1s, 'Al\rpha' 2s}\r"),
            "(1) Alpha\n(2) Al\rpha\n");
  EXPECT_EQ(t->position_count, 1);
  EXPECT_EQ(t->solve_time[2][1], 2.0);
}

TEST(ResultFile, OnlyTheFirstCommentOfAGameCounts) {
  auto t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t,
                      "[Event \"e\"]\n[FEN \"F1\"]\n"
                      "{'A' 1s} 1. e4 {'B' 2s [FEN \"X\"] {'C' 3s} 1... e5 {'A' 9s} *\n"
                      "[Event \"e\"]\n[FEN \"F2\"]\n"
                      "1. d4 {'D' 4s} {'E' 5s} *\n"),
            "(1) A\n(2) D\n");
  EXPECT_EQ(t->position_count, 2);  // no position X
  EXPECT_EQ(t->solve_time[1][1], 1.0);
  EXPECT_EQ(t->solve_time[2][2], 4.0);

  // Comments do not nest: the first '}' ends the skipped one, and a tag after
  // it is read again.
  t = std::make_unique<Tables>();
  read_text(*t, "[Event \"e\"]\n[FEN \"F1\"]\n{'A' 1s} {x {y} [FEN \"F2\"]} *\n");
  EXPECT_EQ(t->position_count, 2);
}

TEST(ResultFile, SameFenIsOnePositionAndTheLaterGameWins) {
  auto t = std::make_unique<Tables>();
  read_text(*t,
            "[Event \"e\"]\n[Annotator \"L1\"]\n[FEN \"F\"]\n{'A' 1s, 'B' 2s}\n"
            "[Event \"e\"]\n[Annotator \"L2\"]\n[FEN \"F\"]\n{'B' 3s, 'C' 4s}\n");
  ASSERT_EQ(t->position_count, 1);
  EXPECT_EQ(t->position_label[1], "L2");
  EXPECT_EQ(t->solve_time[1][1], 1.0);
  EXPECT_EQ(t->solve_time[2][1], 3.0);
  EXPECT_EQ(t->solve_time[3][1], 4.0);
}

TEST(ResultFile, LabelIsTheAnnotatorHeldWhenTheFenIsRead) {
  auto t = std::make_unique<Tables>();
  read_text(*t,
            "[Event \"e\"]\n[FEN \"F0\"]\n[Annotator \"L1 {not a comment}\"]\n{'A' 1s}\n"
            "[Event \"e\"]\n[FEN \"F1\"]\n[Annotator \"L2\"]\n{'A' 1s}\n"
            "[Event \"e\"]\n[FEN \"F2\"]\n{'A' 1s}\n"
            "[Event \"e\"]\n[Annotator \"\"]\n[FEN \"\"]\n{'B' 2s}\n");
  ASSERT_EQ(t->position_count, 4);
  EXPECT_EQ(t->position_label[1], "");  // before any Annotator
  EXPECT_EQ(t->position_label[2], "L1 {not a comment}");
  EXPECT_EQ(t->position_label[3], "L2");
  EXPECT_EQ(t->position_fen[4], "");  // empty values are ordinary values
  EXPECT_EQ(t->position_label[4], "");
  EXPECT_EQ(t->solve_time[2][4], 2.0);
  EXPECT_EQ(t->program_count, 2);
}

TEST(ResultFile, CommentsAreCutAtCommas) {
  auto t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t,
                      "[Event \"e\"]\n[FEN \"F1\"]\n{}\n"
                      "[Event \"e\"]\n[FEN \"F2\"]\n{'A' 1s, 'B' 2s,}\n"
                      "[Event \"e\"]\n[FEN \"F3\"]\n{, 'C' 3s}\n"
                      "[Event \"e\"]\n[FEN \"F4\"]\n{'A' 1,5s, 'B' 2.5s}\n"),
            "(1) A\n(2) B\n(3) C\n");
  EXPECT_EQ(t->position_count, 4);
  EXPECT_EQ(t->solve_time[1][2], 1.0);
  EXPECT_EQ(t->solve_time[2][2], 2.0);
  EXPECT_EQ(t->solve_time[3][3], 3.0);
  EXPECT_EQ(t->solve_time[1][4], 1.0);  // the decimal comma ends the entry
  EXPECT_EQ(t->solve_time[2][4], 2.5);
}

TEST(ResultFile, WithoutEventTagsOnlyTheVeryFirstCommentIsRead) {
  auto t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t, "[FEN \"F1\"]\n{'A' 1s}\n[FEN \"F2\"]\n{'B' 2s}\n"), "(1) A\n");
  EXPECT_EQ(t->position_count, 2);
  EXPECT_EQ(t->solve_time[1][1], 1.0);
}

TEST(ResultFile, ResultsGoToTheLastFenRead) {
  auto t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t,
                      "[Event \"e\"]\n{'A' 5s, 'B' 6s}\n"
                      "[Event \"e\"]\n[FEN \"F1\"]\n{'B' 1s, 'C' 2s}\n"
                      "[Event \"e\"]\n{'C' 3s, 'D' 4s}\n"),
            "(1) A\n(2) B\n(3) C\n(4) D\n");
  ASSERT_EQ(t->position_count, 1);
  // Before the first FEN the names count but the times are dropped.
  EXPECT_EQ(t->solve_time[1][1], NOT_TESTED);
  EXPECT_EQ(t->solve_time[1][0], NOT_TESTED);
  EXPECT_EQ(t->solve_time[2][0], NOT_TESTED);
  EXPECT_EQ(t->solve_time[2][1], 1.0);
  EXPECT_EQ(t->solve_time[3][1], 3.0);  // a game without FEN adds to F1
  EXPECT_EQ(t->solve_time[4][1], 4.0);
}

TEST(ResultFile, NulEndsATextAndHugeFieldsAreReadWhole) {
  auto t = std::make_unique<Tables>();
  // Both FEN values read as "F", so the second game adds to the first.
  EXPECT_EQ(read_text(*t,
                      "\0\0[Event \"e\"]\n[FE\0N \"X\"]\n[FEN \"F\0X\"]\n{'Al\0pha' 5s, 'B' 6s}\n"
                      "[Event \"e\"]\n[FEN \"F\0Y\"]\n{'C' 7s\0junk, 'B' 8s}"s),
            "(1) Al\n(2) B\n(3) C\n");
  ASSERT_EQ(t->position_count, 1);
  EXPECT_EQ(t->position_fen[1], "F");
  EXPECT_EQ(t->solve_time[1][1], NOT_TESTED);
  EXPECT_EQ(t->solve_time[2][1], 8.0);
  EXPECT_EQ(t->solve_time[3][1], 7.0);

  const std::string mega(1 << 20, 'x');
  t = std::make_unique<Tables>();
  EXPECT_EQ(read_text(*t, "[Event \"e\"]\n[Annotator \"" + mega + "\"]\n[FEN \"" + mega + "\"]\n[" +
                              mega + " \"v\"]\n{'A' 1s " + mega + ", 'B' 2s," + mega +
                              "'C' 3s}\n[Event \"e\"]\n[FEN \"" + mega + "\"]\n{'D' 4s}\n"),
            "(1) A\n(2) B\n(3) C\n(4) D\n");
  ASSERT_EQ(t->position_count, 1);
  EXPECT_EQ(t->position_fen[1], mega);
  EXPECT_EQ(t->position_label[1], mega);
  EXPECT_EQ(t->solve_time[1][1], 1.0);
  EXPECT_EQ(t->solve_time[2][1], 2.0);
  EXPECT_EQ(t->solve_time[3][1], 3.0);
  EXPECT_EQ(t->solve_time[4][1], 4.0);
}

TEST(ResultFile, SurvivesTruncatedAndBinaryInput) {
  // Cut anywhere, inside tags and comments included. A cut can leave a
  // half-read name or FEN, which here only takes the place of a whole one.
  const std::string game = "[Event \"e\"]\n[FEN \"F1\"]\n{'Alpha' 1s, 'Beta' >6s} {'C' 1s}\n";
  auto t = std::make_unique<Tables>();
  for (std::size_t n = 0; n <= game.size(); ++n) {
    t = std::make_unique<Tables>();
    std::string echo = read_text(*t, game.substr(0, n));
    ASSERT_LE(t->program_count, 2) << n;
    ASSERT_LE(t->position_count, 1) << n;
    ASSERT_EQ(std::count(echo.begin(), echo.end(), '\n'), t->program_count) << n;
  }
  EXPECT_EQ(t->solve_time[2][1], -6.0);

  // Noise made of the reader's own tokens, broken and mixed with stray bytes
  // and NULs, so that tags, comments and entries are cut in every way.
  // clang-format off
  const std::string tokens[] = {
      "[Event \"e\"]"s, "[FEN \""s, "[Annotator \""s, "\"]"s, "\""s, "["s, "]"s, "{"s, "{'"s,
      "'"s, "}"s, ","s, " >"s, "5s"s, "s"s, "1e3"s, "0x1p4"s, "."s, "-"s, "x"s, "y"s,
      "\r\n"s, "\r"s, "\n"s, " "s, "\t"s, "\0"s, "\xff\x80"s};
  // clang-format on
  std::uint32_t state = 12345;
  auto next = [&state](std::uint32_t bound) {
    state = state * 1664525u + 1013904223u;  // a fixed LCG keeps the noise reproducible
    return (state >> 8) % bound;
  };
  std::string noise;
  while (noise.size() < 200000) {
    if (next(8) == 0)
      noise.push_back(static_cast<char>(next(256)));
    else
      noise += tokens[next(std::size(tokens))];
  }
  // Sized to stay below the registry limits, so the whole noise is read.
  t = std::make_unique<Tables>();
  std::string echo = read_text(*t, noise);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), '\n'), t->program_count);
  EXPECT_LE(t->program_count, MAX_PROGRAMS);
  EXPECT_LE(t->position_count, MAX_POSITIONS);
  for (int p = 1; p <= t->program_count; ++p) {
    EXPECT_LE(t->program_name[p].size(), 79u);
    EXPECT_EQ(t->program_name[p].find_first_of(" \n"s + '\0'), std::string::npos);
  }
}

}  // namespace
}  // namespace tarvolin
