#include <gtest/gtest.h>

#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve::testing {
namespace {

using tarvolin::testing::ScratchDir;

// Twelve positions that differ only in their move counter; each engine
// takes its own time over each, so that with several workers they finish
// out of order.
TEST(SolveConcurrency, WorkersWriteWhatOneWorkerWrites) {
  ScratchDir dir;
  std::string suite, alpha = "name Alpha\n", beta = "name Beta\n";
  for (int n = 0; n < 12; ++n) {
    const std::string count = std::to_string(n);
    std::string fen = "7k/8/8/8/8/8/8/R6K w - - " + count + " 1";
    suite += "7k/8/8/8/8/8/8/R6K w - - bm Ra8+; hmvc " + count + ";\n";
    alpha += "position " + fen + "\nsleep " + std::to_string((n * 37) % 5 * 40) +
             "\ninfo depth 1 time " + std::to_string(100 * n + 100) + " pv a1a8\nbestmove " +
             (n % 3 == 0 ? "a1a2" : "a1a8") + "\n";
    beta += "position " + fen + "\nsleep " + std::to_string((n * 13) % 4 * 30) +
            "\ninfo depth 1 time 7 pv a1a8\nbestmove a1a8\n";
  }
  dir.write("s.epd", suite);
  std::string run =
      "--epd s.epd " + fake_engine("alpha", alpha) + " " + fake_engine("beta", beta) + " --time 2";
  Finished one = run_solve(run + " --out one.pgn");
  ASSERT_EQ(one.exit_code, 0) << one.err;
  Finished three = run_solve(run + " --out three.pgn --concurrency 3");
  ASSERT_EQ(three.exit_code, 0) << three.err;
  std::string text = dir.read("one.pgn");
  EXPECT_EQ(dir.read("three.pgn"), text);
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 12u);
  // Positions in suite order, whatever finished first.
  for (int n = 1; n < 12; ++n) {
    const std::string before = std::to_string(n - 1), count = std::to_string(n);
    EXPECT_LT(text.find(" " + before + " 1\"]"), text.find(" " + count + " 1\"]"));
  }

  // Three shards on their own, then merged: the same entries.
  for (const char* k : {"1", "2", "3"}) {
    std::string file = std::string("shard") + k + ".pgn";
    Finished shard = run_solve(run + " --shard " + k + "/3 --out " + file + " --concurrency 2");
    ASSERT_EQ(shard.exit_code, 0) << shard.err;
    EXPECT_EQ(result_comments(dir.read(file)).size(), 4u);
  }
  EXPECT_TRUE(contains(dir.read("shard2.pgn"), " 4 1\"]"));  // positions 2, 5, 8, 11
  ASSERT_EQ(run_solve("--merge merged.pgn shard1.pgn shard2.pgn shard3.pgn").exit_code, 0);
  EXPECT_EQ(result_comments(dir.read("merged.pgn")), comments);
}

}  // namespace
}  // namespace tarvolin::solve::testing
