#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Five distinct positions, each solved by one legal move.
const char* const SUITE =
    "7k/8/8/8/8/8/8/R6K w - - bm Ra8+;\n"
    "k7/8/1K6/8/8/8/8/7R w - - bm Rh8+; id \"corner\";\n"
    "6k1/5ppp/8/8/8/8/8/R5K1 w - - bm Ra8+;\n"
    "r6k/8/8/8/8/8/8/7K b - - bm Ra1+; hmvc 3; fmvn 12;\n"
    "4k3/8/8/8/8/8/4P3/4K3 w - - bm e4;\n";

// Solves each with the engine's own time, so that runs give equal bytes.
const char* const QUICK =
    "name Quick\nlog quick.log\n"
    "position 7k/8/8/8/8/8/8/R6K w\ninfo depth 1 time 110 pv a1a8\nbestmove a1a8\n"
    "position k7/8/1K6\ninfo depth 1 time 220 pv h1h8\nbestmove h1h8\n"
    "position 6k1/5ppp\ninfo depth 1 time 330 pv a1a8\nbestmove a1a8\n"
    "position r6k/8\ninfo depth 1 time 440 pv a8a1\nbestmove a8a1\n"
    "position 4k3/8\ninfo depth 1 time 550 pv e2e4\nbestmove e2e4\n";

// Shards merged in the suite's order are the file one run writes.
TEST(SolvePositions, ShardsMergedInSuiteOrderAreOneRun) {
  ScratchDir dir;
  dir.write("s.epd", SUITE);
  const std::string run = "--epd s.epd " + fake_engine("q", QUICK) + " --time 1 --out ";
  ASSERT_EQ(run_solve(run + "all.pgn").exit_code, 0);
  ASSERT_EQ(run_solve(run + "p1.pgn --shard 1/2").exit_code, 0);
  ASSERT_EQ(run_solve(run + "p2.pgn --shard 2/2").exit_code, 0);
  const std::string all = dir.read("all.pgn");
  ASSERT_EQ(result_comments(all).size(), 5u) << all;
  EXPECT_TRUE(contains(all, "{'Quick' 0.440s}"));
  Finished merge = run_solve("--merge m.pgn p1.pgn p2.pgn --epd s.epd");
  ASSERT_EQ(merge.exit_code, 0) << merge.err;
  EXPECT_EQ(dir.read("m.pgn"), all);
  // Without the suite: the shards' order, the same results.
  ASSERT_EQ(run_solve("--merge u.pgn p1.pgn p2.pgn").exit_code, 0);
  const std::string unsorted = dir.read("u.pgn");
  EXPECT_LT(unsorted.find("Pos 5"), unsorted.find("corner"));
  EXPECT_EQ(result_comments(unsorted), result_comments(all));
}

}  // namespace
}  // namespace tarvolin::solve::testing
