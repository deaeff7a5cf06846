#include <gtest/gtest.h>

#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve::testing {
namespace {

using tarvolin::testing::ScratchDir;

// Twelve positions that differ only in their move counter; each engine
// takes its own time over each, so that with several workers they finish
// out of order.
struct Scripted {
  std::string suite, alpha, beta;
};

Scripted twelve_positions() {
  Scripted s{"", "name Alpha\n", "name Beta\n"};
  for (int n = 0; n < 12; ++n) {
    const std::string count = std::to_string(n);
    std::string fen = "7k/8/8/8/8/8/8/R6K w - - " + count + " 1";
    s.suite += "7k/8/8/8/8/8/8/R6K w - - bm Ra8+; hmvc " + count + ";\n";
    s.alpha += "position " + fen + "\nsleep " + std::to_string((n * 37) % 5 * 40) +
               "\ninfo depth 1 time " + std::to_string(100 * n + 100) + " pv a1a8\nbestmove " +
               (n % 3 == 0 ? "a1a2" : "a1a8") + "\n";
    s.beta += "position " + fen + "\nsleep " + std::to_string((n * 13) % 4 * 30) +
              "\ninfo depth 1 time 7 pv a1a8\nbestmove a1a8\n";
  }
  return s;
}

TEST(SolveConcurrency, WorkersWriteWhatOneWorkerWrites) {
  ScratchDir dir;
  Scripted s = twelve_positions();
  dir.write("s.epd", s.suite);
  std::string engines = fake_engine("alpha", s.alpha) + " " + fake_engine("beta", s.beta);
  Finished one = run_solve("--epd s.epd " + engines + " --time 2 --out one.pgn");
  ASSERT_EQ(one.exit_code, 0) << one.err;
  Finished three =
      run_solve("--epd s.epd " + engines + " --time 2 --out three.pgn --concurrency 3");
  ASSERT_EQ(three.exit_code, 0) << three.err;
  std::string text = dir.read("one.pgn");
  EXPECT_EQ(dir.read("three.pgn"), text);
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 12u);
  EXPECT_EQ(comments["7k/8/8/8/8/8/8/R6K w - - 3 1"], "{'Alpha' >2s, 'Beta' 0.007s}");
  EXPECT_EQ(comments["7k/8/8/8/8/8/8/R6K w - - 11 1"], "{'Alpha' 1.200s, 'Beta' 0.007s}");
  // Positions in suite order, whatever finished first.
  auto tag_end = [](int n) {
    const std::string count = std::to_string(n);
    return " " + count + " 1\"]";
  };
  for (int n = 1; n < 12; ++n) EXPECT_LT(text.find(tag_end(n - 1)), text.find(tag_end(n)));

  // Three shards on their own, then merged: the same entries.
  for (const char* k : {"1", "2", "3"}) {
    std::string file = std::string("shard") + k + ".pgn";
    Finished run = run_solve("--epd s.epd " + engines + " --time 2 --shard " + k + "/3 --out " +
                             file + " --concurrency 2");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(result_comments(dir.read(file)).size(), 4u);
  }
  EXPECT_NE(dir.read("shard2.pgn").find(" 4 1\"]"), std::string::npos);  // positions 2, 5, 8, 11
  ASSERT_EQ(run_solve("--merge merged.pgn shard1.pgn shard2.pgn shard3.pgn").exit_code, 0);
  EXPECT_EQ(result_comments(dir.read("merged.pgn")), comments);
}

}  // namespace
}  // namespace tarvolin::solve::testing
