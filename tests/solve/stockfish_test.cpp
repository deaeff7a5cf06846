#include <gtest/gtest.h>
#include <unistd.h>

#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve::testing {
namespace {

using tarvolin::testing::ScratchDir;

// Debian's stockfish, twice with different hash sizes, so that the rating
// program has two programs to compare, on ten positions at 0.5 s each.
TEST(SolveStockfish, TenPositionsRatedByTarvolin) {
  ScratchDir dir;
  // Debian puts it in /usr/games, which is not always on PATH.
  std::string engine = std::string(" --engine cmd=") +
                       (::access("/usr/games/stockfish", X_OK) == 0 ? "/usr/games/" : "") +
                       "stockfish option.Threads=1";
  Finished run =
      run_solve("--epd '" TARVOLIN_TEST_DATA "/solve/wac10.epd'" + engine +
                " 'name=SF Hash16' option.Hash=16" + engine +
                " 'name=SF Hash32' option.Hash=32 --time 0.5 --concurrency 2 --out wac.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err
                              << "(scripts/install-build-tools.sh --tests installs stockfish)";
  std::string text = dir.read("wac.pgn");
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 10u) << text;
  for (const char* name : {"'SF Hash16' ", "'SF Hash32' "}) {
    int solved = 0;
    for (const auto& [fen, comment] : comments) {
      std::size_t at = comment.find(name);
      ASSERT_NE(at, std::string::npos) << comment;
      solved += comment[at + std::string(name).size()] != '>';
    }
    EXPECT_GE(solved, 8) << name << "\n" << text;
  }
  tarvolin::testing::RunResult rated = tarvolin::testing::run_binary("wac\n2600\n\n");
  EXPECT_EQ(rated.exit_code, 0) << rated.console;
  EXPECT_TRUE(contains(rated.console, "(1) SFHash16\n(2) SFHash32\n2 programs\n10 positions\n"));
}

}  // namespace
}  // namespace tarvolin::solve::testing
