#include "solve/suite_order.h"

#include <gtest/gtest.h>

#include <tuple>

#include "solve/solve_support.h"

namespace tarvolin::solve {
namespace {

std::string g(const std::string& fen, const std::string& body) {
  return "[Event \"E\"]\n[Annotator \"L\"]\n[FEN \"" + fen + "\"]\n\n" + body;
}

TEST(SuiteOrder, GamesMoveWholeToTheirPositionsPlaces) {
  const std::vector<std::string> suite = {"P1 w - - 0 1", "P2 w - - 0 1", "P3 b - - 4 30"};
  const std::string p1 = g("P1 w - - 0 1", "{'A' 1s} *"), p2 = g("P2 w - -", "{'A' 2s} 1-0"),
                    p3 = g("P3 b - - 0 1", "1. e4 {'A' 3s} *");
  const std::string headless = "[Event \"F\"]\n{'B' 1s} *";  // counts for the FEN before it
  const std::string late_label = "[Event \"E\"]\n[FEN \"P1 w - -\"]\n[Annotator \"M\"]\n{} *";
  // What the file is like, the file, the file in suite order.
  using Case = std::tuple<const char*, std::string, std::string>;
  const Case cases[] = {
      {"in order already, cut off", p1 + "\n\n" + p2 + "\n" + g("P3 b - -", "{'A' 3"),
       p1 + "\n\n" + p2 + "\n" + g("P3 b - -", "{'A' 3")},
      {"reversed, text before the first game", "Run by hand.\n" + p3 + "\n\n" + p2 + "\n" + p1,
       "Run by hand.\n" + p1 + "\n\n" + p2 + "\n" + p3},
      {"a foreign position last, with the game that counts for it",
       g("X w - -", "{'A' 9s} *") + "\n" + headless + "\r\n" + p2 + "\n" + p1 + "\n",
       p1 + "\r\n" + p2 + "\n" + g("X w - -", "{'A' 9s} *") + "\n" + headless + "\n"},
      {"a game labelled after its FEN tag stays behind its neighbour",
       p2 + "\n" + late_label + "\n" + p1 + "\n", p1 + "\n" + p2 + "\n" + late_label + "\n"},
      {"the game cut off is closed", p2 + "\n\n" + g("P1 w - -", "{'A' 1s"),
       g("P1 w - -", "{'A' 1s}") + "\n\n" + p2},
      {"two games of one position keep their order",
       p2 + "\n" + g("P1 w - - 0 1", "{'A' 1s} *") + "\n" + g("P1 w - -", "{'B' 1s} *"),
       g("P1 w - - 0 1", "{'A' 1s} *") + "\n" + g("P1 w - -", "{'B' 1s} *") + "\n" + p2},
      {"no game", "just text\n", "just text\n"},
  };
  for (const auto& [name, text, sorted] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(in_suite_order(text, suite), sorted);
    // Moving games changes no result; closing a cut comment shows in its text only.
    if (name != std::string("the game cut off is closed")) {
      EXPECT_EQ(testing::result_comments(sorted), testing::result_comments(text));
    }
  }
}

}  // namespace
}  // namespace tarvolin::solve
