#include "solve/result_text_check.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tarvolin::solve {
namespace {

TEST(ResultTextCheck, RefusesWhatIsNoResultFile) {
  const std::string game = "[Event \"E\"]\n[FEN \"7k/8 w - -\"]\n\n{'A' 1s} *\n";
  // The text, and why it is refused ("" when it is taken).
  const std::tuple<std::string, const char*> cases[] = {
      {"", ""},
      {" \r\n\t\f\v\n\x1a", ""},  // blank: an empty result file
      {game, ""},
      {"Notes on the run.\r\n\r\n" + game + "\x1a", ""},
      {"[FEN \"7k/8 w - -\"]\n{'A' 1s}\n", ""},  // a position before any Event tag
      {"Caf\xc3\xa9 \xe9\n" + game, ""},         // bytes past ASCII are text
      {game + std::string(1, '\0'), "it holds NUL bytes"},
      {"\x01" + game, "it holds control byte 1 at offset 0, so is no text"},
      {game + "\x7f", "it holds control byte 127 at offset 43, so is no text"},
      {"[Event \"E\"]\n[Site \"?\"]\n\n1. e4 e5 *\n", "it holds no game with a FEN tag"},
      {"{[FEN \"7k/8 w - -\"]}\n", "it holds no game with a FEN tag"},  // inside a comment
  };
  for (const auto& [text, reason] : cases) {
    std::string why;
    EXPECT_EQ(is_result_text(text, why), *reason == '\0') << text;
    EXPECT_EQ(why, reason) << text;
  }
}

}  // namespace
}  // namespace tarvolin::solve
