#include "input/result_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/scratch.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

// Reads text as a result file into t; returns the console echo.
std::string read_text(Tables& t, const std::string& text) {
  std::FILE* file = testing::file_with(text);
  std::FILE* console = std::tmpfile();
  CharSource source(file);
  read_result_file(t, source, console);
  std::string echo = testing::read_stream(console);
  std::fclose(file);
  std::fclose(console);
  return echo;
}

// What the reader left: first the times stored in column 0, which must stay
// empty, then one line per position ("F1 [label]: Alpha 12.3 Beta2 -60"),
// untested programs left out.
std::string summary(const Tables& t) {
  std::string text;
  for (int q = 0; q <= t.position_count; ++q) {
    text += q == 0 ? "column 0:" : t.position_fen[q] + " [" + t.position_label[q] + "]:";
    for (int p = 1; p <= t.program_count; ++p)
      if (char time[32]; t.solve_time[p][q] != NOT_TESTED) {
        std::snprintf(time, sizeof time, " %g", t.solve_time[p][q]);
        text += " " + t.program_name[p] + time;
      }
    text += "\n";
  }
  return text;
}

struct Row {
  const char* what;
  std::string text, echo, summary;
};

const std::string WORKED =
    "[Event \"Suite\"]\n[Site \"?\"]\n[Annotator \"Pos 1\"]\n[FEN \"F1\"]\n[Result \"*\"]\n\n"
    "{'Alpha' 12.3s, 'Beta 2' >60s} 1. e4 *\n\n"
    "[Event \"Suite\"]\n[FEN \"F2\"]\n[Result \"*\"]\n\n"
    "{'Beta\n2' 4s,\n'Gamma' 0.5s} 1. d4 {'Alpha' 1s} *\n";

std::string with_crlf(const std::string& text) {
  std::string crlf;
  for (char c : text) (c == '\n' ? crlf.append("\r") : crlf) += c;
  return crlf;
}

#define EVENT "[Event \"e\"]\n"

TEST(ResultFile, ReadsGamesTagsAndFirstComments) {
  const std::string worked_echo = "(1) Alpha\n(2) Beta2\n(3) Gamma\n";
  const std::string worked =
      "column 0:\nF1 [Pos 1]: Alpha 12.3 Beta2 -60\nF2 [Pos 1]: Beta2 4 Gamma 0.5\n";
  const Row rows[] = {
      // The label is held from game 1; the second comment of game 2 does not count.
      {"worked example", WORKED, worked_echo, worked},
      // Windows line ends read like plain ones, the one inside Beta's name included.
      {"worked example, CR LF", with_crlf(WORKED), worked_echo, worked},
      {"only the first comment of a game",
       EVENT "[FEN \"F1\"]\n{'A' 1s} 1. e4 {'B' 2s [FEN \"X\"] {'C' 3s} 1... e5 {'A' 9s} *\n" EVENT
             "[FEN \"F2\"]\n1. d4 {'D' 4s} {'E' 5s} *\n",
       "(1) A\n(2) D\n", "column 0:\nF1 []: A 1\nF2 []: D 4\n"},
      // White space after the '{' and remarks before the results read like the plain comment.
      {"indented comments and remarks first",
       EVENT "[FEN \"F1\"]\n{\t\v\f\r 'A' 1s}\n" EVENT
             "[FEN \"F2\"]\n{see [FEN \"x\"] {here} {'B' 2s}\n" EVENT
             "[FEN \"F3\"]\n{ } {'C' 3s}\n" EVENT "[FEN \"F4\"]\n{ , 'D' 4s}\n",
       "(1) A\n(2) B\n(3) D\n", "column 0:\nF1 []: A 1\nF2 []: B 2\nF3 []:\nF4 []: D 4\n"},
      {"same FEN: one position, the later game wins",
       EVENT "[Annotator \"L1\"]\n[FEN \"F\"]\n{'A' 1s, 'B' 2s}\n" EVENT
             "[Annotator \"L2\"]\n[FEN \"F\"]\n{'B' 3s, 'C' 4s}\n",
       "(1) A\n(2) B\n(3) C\n", "column 0:\nF [L2]: A 1 B 3 C 4\n"},
      // Empty values are ordinary values.
      {"label is the Annotator held when the FEN is read",
       EVENT "[FEN \"F0\"]\n[Annotator \"L1 {not a comment}\"]\n{'A' 1s}\n" EVENT
             "[FEN \"F1\"]\n[Annotator \"L2\"]\n{'A' 1s}\n" EVENT "[FEN \"F2\"]\n{'A' 1s}\n" EVENT
             "[Annotator \"\"]\n[FEN \"\"]\n{'B' 2s}\n",
       "(1) A\n(2) B\n",
       "column 0:\nF0 []: A 1\nF1 [L1 {not a comment}]: A 1\nF2 [L2]: A 1\n []: B 2\n"},
      // The decimal comma ends an entry.
      {"comments cut at commas",
       EVENT "[FEN \"F1\"]\n{}\n" EVENT "[FEN \"F2\"]\n{'A' 1s, 'B' 2s,}\n" EVENT
             "[FEN \"F3\"]\n{, 'C' 3s}\n" EVENT "[FEN \"F4\"]\n{'A' 1,5s, 'B' 2.5s}\n",
       "(1) A\n(2) B\n(3) C\n",
       "column 0:\nF1 []:\nF2 []: A 1 B 2\nF3 []: C 3\nF4 []: A 1 B 2.5\n"},
      // Before the first FEN names count but times are dropped; a game
      // without FEN adds to the last one.
      {"results go to the last FEN read",
       EVENT "{'A' 5s, 'B' 6s}\n" EVENT "[FEN \"F1\"]\n{'B' 1s, 'C' 2s}\n" EVENT
             "{'C' 3s, 'D' 4s}\n",
       "(1) A\n(2) B\n(3) C\n(4) D\n", "column 0:\nF1 []: B 1 C 3 D 4\n"},
      // Both FEN values read as "F", so the second game adds to the first.
      {"NUL ends a text",
       "\0\0[Event \"e\"]\n[FE\0N \"X\"]\n[FEN \"F\0X\"]\n{'Al\0pha' 5s, 'B' 6s}\n"
       "[Event \"e\"]\n[FEN \"F\0Y\"]\n{'C' 7s\0junk, 'B' 8s}"s,
       "(1) Al\n(2) B\n(3) C\n", "column 0:\nF []: B 8 C 7\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto t = std::make_unique<Tables>();
    EXPECT_EQ(read_text(*t, row.text), row.echo);
    EXPECT_EQ(summary(*t), row.summary);
  }
}

}  // namespace
}  // namespace tarvolin
