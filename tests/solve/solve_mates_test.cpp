#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Six mates in 2 and 3 that stockfish announces within milliseconds and then
// keeps to the end of its search. Each line gives bm as well as dm, so the
// key move must be the suite's too.
TEST(SolveStockfish, MateSuiteSolved) {
  ScratchDir dir;
  Finished run = run_solve("--epd '" TARVOLIN_TEST_DATA "/solve/mates.epd'" + stockfish_engine() +
                           " name=SF option.Hash=16 --time 0.5 --out mates.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err
                              << "(scripts/install-build-tools.sh --tests installs stockfish)";
  std::string text = dir.read("mates.pgn");
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 6u) << text;
  for (const auto& [fen, comment] : comments)
    EXPECT_EQ(comment.rfind("{'SF' 0.", 0), 0u) << fen << " " << comment;
}

}  // namespace
}  // namespace tarvolin::solve::testing
