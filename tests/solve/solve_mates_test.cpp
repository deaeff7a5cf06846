#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Seven mates in 2 and 3 (dm, with or without bm for the key move) that
// stockfish announces within milliseconds and keeps to the end of its search.
TEST(SolveStockfish, MateSuiteSolved) {
  ScratchDir dir;
  Finished run = run_solve("--epd '" TARVOLIN_TEST_DATA "/solve/mates.epd'" + stockfish_engine() +
                           " name=SF --time 0.5 --out mates.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto comments = result_comments(dir.read("mates.pgn"));
  ASSERT_EQ(comments.size(), 7u);
  for (const auto& [fen, comment] : comments) EXPECT_EQ(comment.rfind("{'SF' 0.", 0), 0u) << fen;
}

// A mate in 1 that both protocols first show as a mere advantage, then as
// the mate: its time is the mate's. A Chess960 position goes only to the
// engine that offers to play it, and its castling comes as king takes rook.
TEST(SolveRun, MatesAndChess960InBothProtocols) {
  ScratchDir dir;
  dir.write("s.epd",
            "7k/8/6K1/8/8/8/8/R7 w - - dm 1; id \"mate\";\n"
            "rk5r/8/8/8/8/8/8/RK5R w HAha - bm O-O; id \"960\";\n");
  std::string uno = fake_engine("uno",
                                "name Uno\noption name UCI_Chess960 type check default false\n"
                                "position 7k/8/6K1\ninfo depth 1 time 100 score cp 500 pv a1a8\n"
                                "info depth 2 time 300 score mate 1 pv a1a8\nbestmove a1a8\n"
                                "position rk5r\ninfo depth 1 time 40 pv b1h1\nbestmove b1h1\n");
  std::string xb =
      fake_engine("xb",
                  "position protover\nfeature myname=\"Xb\" setboard=1 variants=\"normal\" done=1\n"
                  "position 7k/8/6K1\n1 500 10 100 Ra8+\n2 100001 30 200 Ra8#\n"
                  "move a1a8\n");
  Finished run = run_solve("--epd s.epd " + uno + " " + xb + " proto=xboard --time 1 --out o.pgn");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(contains(run.err, "warning: engine 'Xb' does not play Chess960: its 1 Chess960"));
  std::string text = dir.read("o.pgn");
  auto comments = result_comments(text);
  EXPECT_EQ(comments["7k/8/6K1/8/8/8/8/R7 w - - 0 1"], "{'Uno' 0.300s, 'Xb' 0.300s}");
  EXPECT_EQ(comments["rk5r/8/8/8/8/8/8/RK5R w HAha - 0 1"], "{'Uno' 0.040s}");
  EXPECT_TRUE(contains(text, "[Annotator \"mate dm 1\"]\n"));
  EXPECT_TRUE(contains(text, "[Annotator \"960 O-O\"]\n"));
}

}  // namespace
}  // namespace tarvolin::solve::testing
