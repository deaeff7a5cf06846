#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Six mates in 2 and 3 (dm, and bm for the key move) that stockfish
// announces within milliseconds and keeps to the end of its search.
TEST(SolveStockfish, MateSuiteSolved) {
  ScratchDir dir;
  Finished run = run_solve("--epd '" TARVOLIN_TEST_DATA "/solve/mates.epd'" + stockfish_engine() +
                           " name=SF --time 0.5 --out mates.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto comments = result_comments(dir.read("mates.pgn"));
  ASSERT_EQ(comments.size(), 6u);
  for (const auto& [fen, comment] : comments) EXPECT_EQ(comment.rfind("{'SF' 0.", 0), 0u) << fen;
}

}  // namespace
}  // namespace tarvolin::solve::testing
