// The rating program's own reader is the judge of every edit: whatever the
// file held before, an entry put in for a position is what the reader then
// finds there, and the other programs' results stay as they were.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "core/tables.h"
#include "input/char_source.h"
#include "input/result_file.h"
#include "solve/result_doc.h"
#include "support/scratch.h"

namespace tarvolin::solve {
namespace {

// Every time the reader finds in the text, by program and position.
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
    EXPECT_TRUE(ResultDoc(doc.text()).has_entry(fen, "Bee"));
    const std::pair<std::string, std::string> mine{"Bee", fen};
    ASSERT_EQ(after[mine], 2.0) << doc.text();
    before.erase(mine);
    after.erase(mine);
    EXPECT_EQ(after, before) << doc.text();
  }
}

}  // namespace
}  // namespace tarvolin::solve
