// The rating program's own reader is the judge of every edit: whatever the
// file held before, an entry put in for a position is what the reader then
// finds there, and the other programs' results stay as they were.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "core/tables.h"
#include "input/char_source.h"
#include "input/result_file.h"
#include "solve/result_doc.h"
#include "support/scratch.h"

namespace tarvolin::solve {
namespace {

struct Read {
  std::unique_ptr<Tables> tables = std::make_unique<Tables>();
  double time(const std::string& program, const std::string& fen) const {
    const Tables& t = *tables;
    for (int p = 1; p <= t.program_count; ++p)
      for (int q = 1; q <= t.position_count; ++q)
        if (t.program_name[p] == program && t.position_fen[q] == fen) return t.solve_time[p][q];
    return NOT_TESTED;
  }
};

Read read_back(const std::string& text) {
  Read read;
  std::FILE* file = tarvolin::testing::file_with(text);
  std::FILE* console = std::tmpfile();
  CharSource source(file);
  read_result_file(*read.tables, source, console);
  std::fclose(file);
  std::fclose(console);
  return read;
}

TEST(ResultDocReader, EditsReadBackWhateverTheFileHeld) {
  const std::vector<std::string> pieces = {
      "[Event \"e\"]\n",
      "[FEN \"F\"]\n",
      "[FEN \"G\"]\n",
      "[Annotator \"a\"]\n",
      "{",
      "}",
      "'",
      ",",
      "'Bee' 7s",
      "'Cee' 3s",
      "'B e e' >9s",
      " ",
      "\n",
      "\r\n",
      "*",
      "1-0",
      "1. e4",
      std::string(1, '\0'),
      "[",
      "\"",
      "{remark}",
      "\t",
      "}{",
      "'Cee",
  };
  std::mt19937 random(20261207);
  for (int round = 0; round < 150; ++round) {
    std::string text;
    int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    SCOPED_TRACE(text);
    Read before = read_back(text);
    ResultDoc doc(text);
    const std::string fen = round % 2 ? "F" : "G";
    doc.set_entry({"S", "L", fen}, "'Bee' 2.000s");
    Read after = read_back(doc.text());
    EXPECT_TRUE(ResultDoc(doc.text()).has_entry(fen, "Bee"));
    ASSERT_EQ(after.time("Bee", fen), 2.0) << doc.text();
    // Another program keeps its result on this position, and the other
    // position keeps all of its own.
    EXPECT_EQ(after.time("Cee", fen), before.time("Cee", fen));
    const std::string other = round % 2 ? "G" : "F";
    EXPECT_EQ(after.time("Bee", other), before.time("Bee", other));
    EXPECT_EQ(after.time("Cee", other), before.time("Cee", other));
  }
}

}  // namespace
}  // namespace tarvolin::solve
