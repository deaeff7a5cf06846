#include <gtest/gtest.h>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Past the 79 characters of a label that the rating program keeps.
#define LONG_ID "Castling on the queen's side, which a label of the rating program holds in part"

const char* const SUITE =
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O; id \"castle\";\n"
    "r7/1P5k/8/8/8/8/7p/5K2 w - - bm bxa8=Q; id \"promote\";\n"
    "7k/8/8/3pP3/8/8/8/7K w - d6 am exd6; id \"avoid\";\n"
    "7k/8/8/R7/8/8/8/RN3N1K w - - bm Nfd2;\n"
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - hmvc 4; fmvn 30; bm O-O-O; id \"" LONG_ID "\";\n";

// Alpha: castles by taking its rook, promotes (its second PV is no PV), avoids the capture late
// (nor is its info string), shows the right knight then plays the other one, castles at once.
const char* const ALPHA =
    "name Alpha\nlog alpha.log\n"
    "position r3k2r/8/8/8/8/8/8/R3K2R w\n"
    "info depth 1 time 100 pv e1c1\ninfo depth 2 time 1300 pv e1h1 a8d8\nbestmove e1h1\n"
    "position r7/1P5k\ninfo depth 1 time 1200 pv b7a8q\ninfo depth 2 multipv 2 time 1900 pv "
    "b7b8q\ninfo depth 2 time 2400 pv b7a8q\nbestmove b7a8q\n"
    "position 7k/8/8/3pP3\ninfo depth 1 time 1500 pv e5d6\ninfo depth 2 time 3100 pv h1g1\n"
    "info string pv e5d6\nbestmove h1g1 ponder h8g8\n"
    "position 7k/8/8/R7\ninfo depth 1 time 1100 pv f1d2\nbestmove b1d2\n"
    "position r3k2r/8/8/8/8/8/8/R3K2R b\nbestmove e8c8\n";

const char* const BETA =
    "name Beta Engine\n"
    "position r3k2r/8/8/8/8/8/8/R3K2R w\ninfo depth 9 time 2000 pv e1g1\nbestmove e1g1\n";

const char* const F1 = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
const char* const F2 = "r7/1P5k/8/8/8/8/7p/5K2 w - - 0 1";
const char* const F3 = "7k/8/8/3pP3/8/8/8/7K w - d6 0 1";
const char* const F4 = "7k/8/8/R7/8/8/8/RN3N1K w - - 0 1";
const char* const F5 = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 4 30";

TEST(SolveRun, FakeEnginesThroughTheRatingProgram) {
  ScratchDir dir;
  dir.write("suite.epd", SUITE);
  Finished run = run_solve("--epd suite.epd " + fake_engine("alpha", ALPHA) + " " +
                           fake_engine("beta", BETA) + " --time 5 --out suite.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::string text = dir.read("suite.pgn");
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 5u) << text;
  EXPECT_EQ(comments[F1], "{'Alpha' 1.300s, 'Beta Engine' 2.000s}");
  EXPECT_EQ(comments[F2], "{'Alpha' 1.200s, 'Beta Engine' >5s}");
  EXPECT_EQ(comments[F3], "{'Alpha' 3.100s, 'Beta Engine' >5s}");
  EXPECT_EQ(comments[F4], "{'Alpha' >5s, 'Beta Engine' >5s}");
  ASSERT_EQ(comments[F5].rfind("{'Alpha' 0.0", 0), 0u) << comments[F5];  // wall clock, no PV
  EXPECT_TRUE(contains(text, "[Annotator \"Pos 4 Nfd2\"]\n"));
  EXPECT_TRUE(contains(text, "[Annotator \"" LONG_ID " O-O-O\"]\n"));
  EXPECT_EQ(count_lines("alpha.log", "ucinewgame"), 5);
  // Solved, share, mean, median, not run, kept. Alpha took 1.2, 1.3 and 3.1 s and
  // one at once; Beta 2 s.
  for (const char* row : {"\nAlpha +4/5 +80\\.0 % +1\\.4[0-9]{2}s +1\\.250s +0 +0\n",
                          "\nBeta Engine +1/5 +20\\.0 % +2\\.000s +2\\.000s +0 +0\n"})
    EXPECT_TRUE(matches(run.out, row));
  EXPECT_TRUE(contains(run.err, "5/5 positions, solved: Alpha 4 Beta Engine 1, elapsed "));

  tarvolin::testing::RunResult rated = tarvolin::testing::run_binary("suite\n2600\n\n");
  EXPECT_EQ(rated.exit_code, 0) << rated.console;
  EXPECT_TRUE(contains(rated.console, "(1) Alpha\n(2) BetaEngine\n2 programs\n5 positions\n"));
}

// The file holds a game of another suite and one of position 1, which both
// engines have done. Alpha crashes once on position 2 and hangs on position 3.
TEST(SolveRun, OldEntriesCrashesAndHangsCostOnlyTheirPositions) {
  ScratchDir dir;
  dir.write("suite.epd", SUITE);
  const std::string foreign =
      "[Event \"old\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n{'Alpha' 3s, 'Zeta' 1s} *\n\n";
  const std::string mine =
      std::string("[Event \"old\"]\n[FEN \"") + F1 +
      "\"]\n[Annotator \"mine\"]\n\n{'Zeta' 1s, 'Alpha' 9s, 'BetaEngine' 5s} 1. O-O *\n";
  dir.write("out.pgn", foreign + mine);
  // The first matching search wins, so these go before Alpha's own.
  std::string script =
      "name Alpha\nlog alpha.log\nposition r7/1P5k\ncrash-once crashed\n"
      "info depth 1 time 1200 pv b7a8q\nbestmove b7a8q\n"
      "position 7k/8/8/3pP3\ninfo depth 1 pv h1g1\nwait-stop\nhang\n" +
      std::string(ALPHA);
  std::string command = "--epd suite.epd " + fake_engine("alpha", script) + " option.Hash=8 " +
                        fake_engine("beta", BETA) + " --time 0.2 --out out.pgn --label id";
  Finished run = run_solve(command);
  EXPECT_EQ(run.exit_code, 1);
  std::string text = dir.read("out.pgn");
  EXPECT_EQ(text.rfind(foreign + mine + "\n[Event \"suite\"]", 0), 0u) << text;
  EXPECT_TRUE(contains(text, "[Annotator \"Pos 4\"]\n"));  // --label id: the bare id
  EXPECT_EQ(count_lines("alpha.log", "go movetime 200"), 4);
  EXPECT_TRUE(contains(run.err, "warning: engine 'Alpha' crashed on position 2 (promote)"));
  EXPECT_TRUE(contains(run.err,
                       "warning: engine 'Alpha' hung (no bestmove in time) on position 3 (avoid)"));
  // Tried on positions 4 and 5, solving 5 at once; not run on the two above;
  // position 1 kept from the file.
  EXPECT_TRUE(matches(run.out, "\nAlpha +1/2 +50\\.0 % .* 2 +1\n"));
  auto comments = result_comments(text);
  EXPECT_EQ(comments[F2], "{'Beta Engine' >0.2s}");
  EXPECT_EQ(comments[F4], "{'Alpha' >0.2s, 'Beta Engine' >0.2s}");
  // Each restart repeats the hand-shake and the options.
  EXPECT_EQ(count_lines("alpha.log", "setoption name Hash value 8"), 3);
  EXPECT_EQ(count_lines("alpha.log", "stop"), 1);  // past limit and grace, before the kill
  // --rerun replaces Alpha's entries where they stand.
  command = "--epd suite.epd " + fake_engine("alpha", ALPHA) + " --time 5 --out out.pgn --rerun";
  ASSERT_EQ(run_solve(command).exit_code, 0);
  EXPECT_EQ(count_lines("alpha.log", "go movetime 5000"), 5);
  EXPECT_EQ(result_comments(dir.read("out.pgn"))[F1],
            "{'Zeta' 1s, 'Alpha' 1.300s, 'BetaEngine' 5s}");
}

// Each engine takes its own time over each position, so that with several
// workers they finish out of order.
TEST(SolveConcurrency, WorkersWriteWhatOneWorkerWrites) {
  ScratchDir dir;
  std::string alpha = "name Alpha\n", beta = "name Beta\n";
  for (int n = 0; n < 12; ++n) {
    std::string fen = rook_fen(n);
    alpha += "position " + fen + "\nsleep " + std::to_string((n * 37) % 5 * 40) +
             "\ninfo depth 1 time " + std::to_string(100 * n + 100) + " pv a1a8\nbestmove " +
             (n % 3 == 0 ? "a1a2" : "a1a8") + "\n";
    beta += "position " + fen + "\nsleep " + std::to_string((n * 13) % 4 * 30) +
            "\ninfo depth 1 time 7 pv a1a8\nbestmove a1a8\n";
  }
  dir.write("s.epd", rook_suite(12));
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
  for (int n = 1; n < 12; ++n)  // suite order, whatever finished first
    EXPECT_LT(text.find('"' + rook_fen(n - 1) + '"'), text.find('"' + rook_fen(n) + '"'));
}

// Two hash sizes of Debian's stockfish give the rating program two programs.
TEST(SolveStockfish, TenPositionsRatedByTarvolin) {
  std::string engine = stockfish_engine();
  rate_wac10(
      engine + " 'name=SF Hash16' option.Hash=16" + engine + " 'name=SF Hash32' option.Hash=32",
      "0.5", "SF Hash16", "SF Hash32");
}

}  // namespace
}  // namespace tarvolin::solve::testing
