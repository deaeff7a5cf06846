#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve::testing {
namespace {

using tarvolin::testing::ScratchDir;

std::string find_stockfish() {
  if (::access("/usr/games/stockfish", X_OK) == 0) return "/usr/games/stockfish";
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && ::access((folder + "/stockfish").c_str(), X_OK) == 0)
      return folder + "/stockfish";
  return "";
}

// Debian's stockfish, twice with different hash sizes, so that the rating
// program has two programs to compare, on ten positions at 0.5 s each.
TEST(SolveStockfish, TenPositionsRatedByTarvolin) {
  std::string stockfish = find_stockfish();
  ASSERT_FALSE(stockfish.empty())
      << "stockfish is not installed (Debian package 'stockfish', found in /usr/games or on "
         "PATH): scripts/install-build-tools.sh --tests installs it";
  ScratchDir dir;
  dir.write("wac10.epd", tarvolin::testing::read_file(TARVOLIN_TEST_DATA "/solve/wac10.epd"));
  std::string engine = " --engine cmd=" + stockfish + " option.Threads=1";
  Finished run =
      run_solve("--epd wac10.epd" + engine + " 'name=SF Hash16' option.Hash=16" + engine +
                " 'name=SF Hash32' option.Hash=32" + " --time 0.5 --concurrency 2 --out wac.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err;
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
  EXPECT_NE(rated.console.find("(1) SFHash16\n(2) SFHash32\n2 programs\n10 positions\n"),
            std::string::npos)
      << rated.console;
}

}  // namespace
}  // namespace tarvolin::solve::testing
