#include "solve/result_doc.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <tuple>

#include "core/tables.h"
#include "input/char_source.h"
#include "input/result_file.h"
#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve {
namespace {

using testing::contains;
using testing::result_comments;

std::string game(const std::string& fen, const std::string& body) {
  return "[Event \"E\"]\n[FEN \"" + fen + "\"]\n\n" + body + "\n";
}

// The game the runner writes for a position new to the file.
std::string new_game(const std::string& fen, const std::string& entry) {
  return "[Event \"S\"]\n[Site \"?\"]\n[Annotator \"Pos 2\"]\n[FEN \"" + fen +
         "\"]\n[Result \"*\"]\n\n{" + entry + "} *\n";
}

TEST(ResultDoc, EntryGoesWhereTheReaderLooks) {
  // What the change is, the file before, the position, the entry, the file after.
  using Case = std::tuple<const char*, std::string, const char*, const char*, std::string>;
  const Case cases[] = {
      {"replaces the program's entry, blanks in the name not counting",
       game("F1", "{'Alpha' 1s, 'Be ta' >5s ,'Gamma' 2s} 1. e4 {'Be ta' 9s} *"), "F1",
       "'Beta' 2.000s", game("F1", "{'Alpha' 1s, 'Beta' 2.000s ,'Gamma' 2s} 1. e4 {'Be ta' 9s} *")},
      {"adds to the result comment after a remark",
       game("F1", "{a remark} { 'Alpha' 1s} 1-0 {'Beta' 9s}"), "F1", "'Beta' >3s",
       game("F1", "{a remark} { 'Alpha' 1s, 'Beta' >3s} 1-0 {'Beta' 9s}")},
      {"after a trailing comma", game("F1", "{'Alpha' 1s,} *"), "F1", "'Beta' 1.000s",
       game("F1", "{'Alpha' 1s, 'Beta' 1.000s} *")},
      {"into an empty comment", game("F1", "{} *"), "F1", "'Beta' 1.000s",
       game("F1", "{'Beta' 1.000s} *")},
      {"a new comment after the tags", "[Event \"E\"]\n[FEN \"F1\"]\n\n", "F1", "'Beta' 1.000s",
       "[Event \"E\"]\n[FEN \"F1\"]\n{'Beta' 1.000s}\n\n"},
      {"the last game of a position gets it",
       game("F1", "{'Alpha' 1s} *") + "\n" + game("F1", "{'Gamma' 1s} *"), "F1", "'Alpha' 4.000s",
       game("F1", "{'Alpha' 1s} *") + "\n" + game("F1", "{'Gamma' 1s, 'Alpha' 4.000s} *")},
      // Suite order: before the game of the next position, when the file has one.
      {"a new game goes before the next position's",
       game("F1", "{'A' 1s} *") + "\n" + game("F3", "{'A' 3s} *"), "F2", "'A' 2.000s",
       game("F1", "{'A' 1s} *") + "\n" + new_game("F2", "'A' 2.000s") + "\n" +
           game("F3", "{'A' 3s} *")},
      {"a FEN after the results is no game of that position",
       "[Event \"E\"]\n{'Alpha' 1s}\n[FEN \"F2\"]\n*\n", "F2", "'Beta' 1.000s",
       "[Event \"E\"]\n{'Alpha' 1s}\n[FEN \"F2\"]\n*\n\n" + new_game("F2", "'Beta' 1.000s")},
  };
  for (const auto& [name, before, fen, entry, after] : cases) {
    ResultDoc doc(before);
    doc.set_entry({"S", "Pos 2", fen}, entry, "F3");
    EXPECT_EQ(doc.text(), after) << name;
  }
}

// A position is its first four FEN fields: a game whose tag has other move
// counters, or none, or other blanks, is the same position's game and keeps
// its tag as written.
TEST(ResultDoc, PositionsMatchOnFourFields) {
  const std::string old = game("7k/8 w - -", "{'A' 1s} *");
  ResultDoc doc(old + "\n" + game("8/8 b Kq e3 5 9", "{} *"));
  EXPECT_TRUE(doc.has_position("7k/8 w - - 0 1"));
  EXPECT_NE(doc.entry_text("7k/8  w -\t- 3 40", "A"), "");
  EXPECT_TRUE(doc.has_position("8/8 b Kq e3"));
  EXPECT_FALSE(doc.has_position("7k/8 b - - 0 1"));  // the side to move differs
  EXPECT_FALSE(doc.has_position("8/8 b Kq -"));      // so does the en-passant square
  EXPECT_EQ(doc.entry_text("8/8 b Kq e3 0 1", "A"), "");
  doc.set_entry({"S", "L", "7k/8 w - - 0 1"}, "'B' 2.000s");
  doc.set_entry({"S", "Pos 2", "6k1/8 w - - 0 1"}, "'B' 3.000s", "8/8 b Kq e3 0 1");
  EXPECT_EQ(doc.text(), game("7k/8 w - -", "{'A' 1s, 'B' 2.000s} *") + "\n" +
                            new_game("6k1/8 w - - 0 1", "'B' 3.000s") + "\n" +
                            game("8/8 b Kq e3 5 9", "{} *"));
}

TEST(ResultDoc, KnowsWhichEntriesAreThere) {
  ResultDoc doc(
      "{'Zeta' 1s}\n[Event \"E\"]\n[FEN \"F1\"]\n{ 'Al pha' 1s, 'Beta' junk} {'Gamma' 1s}\n"
      "[Event \"E\"]\n[FEN \"F2\"]\n{a remark} [FEN \"F3\"] {'Delta' 1s}\n");
  EXPECT_NE(doc.entry_text("F1", "Alpha"), "");
  EXPECT_NE(doc.entry_text("F1", "Beta"), "");   // listed, though its time is unreadable
  EXPECT_EQ(doc.entry_text("F1", "Gamma"), "");  // a second comment is not read
  EXPECT_EQ(doc.entry_text("F1", "Zeta"), "");   // before any FEN tag
  EXPECT_FALSE(doc.has_position("F2"));          // its results belong to F3
  EXPECT_NE(doc.entry_text("F3", "Delta"), "");
}

// The rating program's own reader is the judge of every edit: whatever the
// file held before, an entry put in for a position is what the reader then
// finds there, and the other programs' results stay as they were.
std::map<std::pair<std::string, std::string>, double> read_back(const std::string& text) {
  auto tables = std::make_unique<Tables>();
  std::FILE* file = tarvolin::testing::file_with(text);
  std::FILE* console = std::tmpfile();
  CharSource source(file);
  read_result_file(*tables, source, console);
  std::fclose(file);
  std::fclose(console);
  std::map<std::pair<std::string, std::string>, double> times;
  for (int p = 1; p <= tables->program_count; ++p)
    for (int q = 1; q <= tables->position_count; ++q)
      if (tables->solve_time[p][q] != NOT_TESTED)
        times[{tables->program_name[p], tables->position_fen[q]}] = tables->solve_time[p][q];
  return times;
}

TEST(ResultDocReader, EditsReadBackWhateverTheFileHeld) {
  // clang-format off
  const std::vector<std::string> pieces = {
      "[Event \"e\"]\n", "[FEN \"F\"]\n", "[FEN \"G\"]\n", "[Annotator \"a\"]\n", "{", "}", "'", ",",
      "'Bee' 7s", "'Cee' 3s", "'B e e' >9s", " ", "\n", "\r\n", "*", "1-0", "1. e4",
      std::string(1, '\0'), "[", "\"", "{remark}", "\t", "}{", "'Cee"};
  // clang-format on
  std::mt19937 random(20261207);
  for (int round = 0; round < 150; ++round) {
    std::string text;
    int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    SCOPED_TRACE(text);
    auto before = read_back(text);
    ResultDoc doc(text);
    const std::string fen = round % 2 ? "F" : "G";
    doc.set_entry({"S", "L", fen}, "'Bee' 2.000s");
    auto after = read_back(doc.text());
    EXPECT_NE(ResultDoc(doc.text()).entry_text(fen, "Bee"), "");
    const std::pair<std::string, std::string> mine{"Bee", fen};
    ASSERT_EQ(after[mine], 2.0) << doc.text();
    before.erase(mine);
    after.erase(mine);
    EXPECT_EQ(after, before) << doc.text();
  }
}

}  // namespace
}  // namespace tarvolin::solve
