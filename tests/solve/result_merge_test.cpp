#include <gtest/gtest.h>

#include <tuple>

#include "solve/result_doc.h"
#include "solve/solve_support.h"

namespace tarvolin::solve {
namespace {

std::string game(const std::string& fen, const std::string& body) {
  return "[Event \"E\"]\n[FEN \"" + fen + "\"]\n\n" + body + "\n";
}

// What the rating program reads: each position's result comment.
std::string seen(const std::string& text) {
  std::string read;
  for (const auto& [fen, comment] : testing::result_comments(text)) read += fen + comment + " ";
  return read;
}

std::string merged(const std::string& base, const std::vector<std::string>& others) {
  ResultDoc doc(base);
  for (const std::string& other : others) doc.merge(other);
  return doc.text();
}

// Tags other than the solver's own, two games in each file, one position in
// two of them: only the shared games' comments change, and a new position's
// game, first in each file merged in, is appended as it was written.
TEST(ResultMerge, GamesNotNeedingAChangeKeepEveryByte) {
  const std::string good =
      "[Event \"a\"]\n[FEN \"P1 w - -\"]\n\n{'A' 1s} *\n\n"
      "[Event \"a\"]\n[Annotator \"two\"]\n[FEN \"P2 w - -\"]\n{'A' 2s} 1-0\n";
  const std::string one =
      game("P3 b - -", "{'B' 4s} *") + "\n" + game("P2 w - - 0 1", "{'B' 3s} *");
  const std::string two = game("P4 b - -", "{'C' 6s} *") + "\n" + game("P3 b - -", "{'C' 5s} *");
  const std::string text = merged(good, {one, two});
  EXPECT_EQ(text,
            "[Event \"a\"]\n[FEN \"P1 w - -\"]\n\n{'A' 1s} *\n\n"
            "[Event \"a\"]\n[Annotator \"two\"]\n[FEN \"P2 w - -\"]\n{'A' 2s, 'B' 3s} 1-0\n\n" +
                game("P3 b - -", "{'B' 4s, 'C' 5s} *") + "\n" + game("P4 b - -", "{'C' 6s} *"));
  EXPECT_EQ(seen(text),
            "P1 w - -{'A' 1s} P2 w - -{'A' 2s, 'B' 3s} P3 b - -{'B' 4s, 'C' 5s} P4 b - -{'C' 6s} ");
}

TEST(ResultMerge, EdgesOfTheText) {
  // What the file is like, the file, the file merged in, the file after, and
  // what the rating program then reads.
  using Case = std::tuple<const char*, std::string, std::string, std::string, const char*>;
  const std::string p1 = game("P1", "{'A' 1s} *"), p2 = game("P2", "{'B' 2s} *");
  const Case cases[] = {
      {"text before the first game", "Run by hand.\n\n" + p1, game("P1", "{'B' 3s} *") + "\n" + p2,
       "Run by hand.\n\n" + game("P1", "{'A' 1s, 'B' 3s} *") + "\n" + p2,
       "P1{'A' 1s, 'B' 3s} P2{'B' 2s} "},
      {"a position before the first game of the file merged in", p1,
       "[FEN \"P2\"]\n{'Z' 1s}\n\n" + game("P1", "{'Z' 2s} *"),
       game("P1", "{'A' 1s, 'Z' 2s} *") +
           "\n[Event \"?\"]\n[Site \"?\"]\n[Annotator \"\"]\n[FEN \"P2\"]\n[Result \"*\"]\n\n"
           "{'Z' 1s} *\n",
       "P1{'A' 1s, 'Z' 2s} P2{'Z' 1s} "},
      {"cut off at the end of a tag", p1 + "\n[Event \"x", p2, p1 + "\n[Event \"x\"]\n\n" + p2,
       "P1{'A' 1s} P2{'B' 2s} "},
      {"cut off in the result comment", "[Event \"E\"]\n[FEN \"P1\"]\n\n{'A' 1s",
       game("P1", "{'C' 2s} *") + "\n" + p2,
       "[Event \"E\"]\n[FEN \"P1\"]\n\n{'A' 1s, 'C' 2s}\n\n" + p2,
       "P1{'A' 1s, 'C' 2s} P2{'B' 2s} "},
      {"the file merged in cut off in its comment", p1, game("P2", "{'B' 2s"),
       p1 + "\n" + game("P2", "{'B' 2s}"), "P1{'A' 1s} P2{'B' 2s} "},
      {"CR LF after the termination marker",
       "[Event \"E\"]\r\n[FEN \"P1\"]\r\n\r\n1. e4 *\r\n\r\n[Event \"E\"]\r\n[FEN "
       "\"P2\"]\r\n1-0\r\n",
       game("P1", "{'B' 3s} *") + "\n" + game("P2", "{'B' 4s} *"),
       "[Event \"E\"]\r\n[FEN \"P1\"]\r\n\r\n1. e4 {'B' 3s} *\r\n\r\n"
       "[Event \"E\"]\r\n[FEN \"P2\"]\r\n{'B' 4s} 1-0\r\n",
       "P1{'B' 3s} P2{'B' 4s} "},
  };
  for (const auto& [name, base, other, after, reads] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(merged(base, {other}), after);
    EXPECT_EQ(seen(after), reads);
    EXPECT_EQ(merged(after, {other}), after);  // merging again changes nothing
  }
}

}  // namespace
}  // namespace tarvolin::solve
