#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "../../fuzz/fuzz_support.h"
#include "input/registries.h"
#include "matches/normalise_times.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

// Reads text as a result file into t; returns the console echo.
std::string read_text(Tables& t, const std::string& text) {
  std::FILE* console = testing::temporary_file();
  fuzz::read_result_bytes(t, text, console);
  std::string echo = testing::read_stream(console);
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

#define EVENT "[Event \"e\"]\n"

TEST(ResultFile, ReadsGamesTagsAndFirstComments) {
  const std::string worked_echo = "(1) Alpha\n(2) Beta2\n(3) Gamma\n";
  const std::string worked =
      "column 0:\nF1 [Pos 1]: Alpha 12.3 Beta2 -60\nF2 [Pos 1]: Beta2 4 Gamma 0.5\n";
  const Row rows[] = {
      // The label is held from game 1; the second comment of game 2 does not count.
      {"worked example", WORKED, worked_echo, worked},
      // Windows line ends read like plain ones, the one inside Beta's name included.
      {"worked example, CR LF", testing::with_crlf(WORKED), worked_echo, worked},
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

// Tables after a result file that introduced Alpha and Beta (registry
// frozen), with the text read as their offset file.
std::unique_ptr<Tables> offsets_read(const std::string& text) {
  auto t = std::make_unique<Tables>();
  find_or_add_program(*t, "Alpha", nullptr);
  find_or_add_program(*t, "Beta", nullptr);
  t->frozen_program_count = t->program_count;
  fuzz::read_offset_bytes(*t, text);
  return t;
}

struct OffsetRow {
  const char* what;
  std::string text;
  int alpha_samples, beta_samples;
  double alpha_sum, beta_sum;
};

TEST(OffsetFile, LaterGamesGiveSamplesToKnownProgramsOnly) {
  const std::string three_games =
      "[Event \"warm-up\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n{'Alpha' 9s, 'Beta' 9s}\n*\n\n"
      "[Event \"two\"]\n[Annotator \"x\"]\n{'Alpha' 0.4s, 'Be\nta' 1.2s, 'Omega' 3s}\n*\n\n"
      "[Event \"three\"]\n{'Alpha' 0.6s}\n*\n";
  const OffsetRow rows[] = {
      // Omega is unknown; Beta's name is wrapped inside.
      {"three games", three_games, 2, 1, 1.0, 1.2},
      {"three games, CR LF", testing::with_crlf(three_games), 2, 1, 1.0, 1.2},
      {"indented comment after a remark",
       "[Event \"a\"]\n{'Alpha' 9s}\n[Event \"b\"]\n{\n  machine two\n}\n{\r\n 'Alpha' 2s, 'Beta' "
       "4s}\n",
       1, 1, 2.0, 4.0},
      {"one game only: the warm-up", "[Event \"a\"]\n{'Alpha' 4s, 'Beta' 2s}\n", 0, 0, 0.0, 0.0},
      {"no Event tag: never past the first game",
       "{'Alpha' 4s}\n{'Alpha' 5s}\n[Site \"x\"]\n{'Beta' 6s}\n", 0, 0, 0.0, 0.0},
      // A second comment is skipped, blanks leave a name, a program named
      // twice gives two samples, a failure adds its negative limit, an
      // unparsable time or a name in another case gives none.
      {"first comment of each later game",
       "[Event \"a\"]\n{'Alpha' 100s}\n[Event \"b\"]\n{'Al pha' 2s, 'Beta' 1s, 'Beta' 3s, 'Gamma' "
       "7s, 'alpha' 9s, 'Alpha' x} 1. e4 {'Alpha' 50s}\n[Event \"c\"]\n{'Beta' >2s}\n",
       1, 3, 2.0, 2.0},
  };
  for (const OffsetRow& row : rows) {
    SCOPED_TRACE(row.what);
    auto t = offsets_read(row.text);
    EXPECT_EQ(t->program_count, 2);
    EXPECT_EQ(t->offset_sample_count[1], row.alpha_samples);
    EXPECT_EQ(t->offset_sample_count[2], row.beta_samples);
    EXPECT_DOUBLE_EQ(t->time_offset[1], row.alpha_sum);
    EXPECT_DOUBLE_EQ(t->time_offset[2], row.beta_sum);
  }
  // The sums become means once the times are normalised.
  auto t = offsets_read(three_games);
  normalise_times(*t);
  EXPECT_DOUBLE_EQ(t->time_offset[1], 0.5);
  EXPECT_DOUBLE_EQ(t->time_offset[2], 1.2);
}

}  // namespace
}  // namespace tarvolin
