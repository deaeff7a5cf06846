#include <gtest/gtest.h>

#include "solve/engine.h"
#include "solve/plan_run.h"
#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Slow to start (done=0), with an option, memory and an unknown feature.
// Its thinking is in SAN, long algebraic with the extended numbers, and
// coordinates after move numbers; it plays an illegal move on position 4,
// moves only after the second "?" on position 5, too late, and thinks
// until "?" on position 6.
std::string xeno_script() {
  auto at = [](int k) { return "position " + rook_fen(k) + "\n"; };
  return "log xeno.log\nposition protover\nfeature myname=\"Xeno 1.0\" done=0\nsleep 100\n"
         "feature setboard=1 ping=1 memory=1 bogus=1 option=\"Style -combo Calm /// Wild\"\n"
         "feature done=1\n" +
         at(0) + "1 10 10 100 Ra7 Kg8\n2 900 25 300 Ra8+ Kh7\nmove a1a8\n" + at(1) +
         "1 10 10 100 Ra1-a2 Kg8\n2 20 30 500 7 16000 0 Ra1-a8+\nmove Ra8+\n" + at(2) +
         "1 10 5 100 (+) 1. a1a5 Kg8\n2 30 15 200 1. a1a8 Kh7\nmove a1a8\n" + at(3) +
         "move a1b2\n" + at(4) + "wait-stop\nwait-stop\nmove a1a8\n" + at(5) +
         "1 10 5 100 Ra8+\nwait-stop\nmove a1a8\n";
}

TEST(SolveXboard, FeaturesNotationsAndMisbehaviour) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  Finished run =
      run_solve("--epd s.epd " + fake_engine("xeno", xeno_script()) +
                " proto=xboard option.Style=Wild option.memory=64 --time 0.3 --out o.pgn");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  auto comments = result_comments(dir.read("o.pgn"));
  EXPECT_EQ(comments[rook_fen(0)], "{'Xeno 1.0' 0.250s}");
  EXPECT_EQ(comments[rook_fen(1)], "{'Xeno 1.0' 0.300s}");
  EXPECT_EQ(comments[rook_fen(2)], "{'Xeno 1.0' 0.150s}");
  EXPECT_EQ(comments[rook_fen(3)], "{'Xeno 1.0' >0.3s}");
  EXPECT_EQ(comments.count(rook_fen(4)), 0u);
  EXPECT_EQ(comments[rook_fen(5)], "{'Xeno 1.0' 0.050s}");
  EXPECT_TRUE(contains(run.err,
                       "warning: engine 'Xeno 1.0' played 'a1b2', which is no legal "
                       "move on position 4 (Pos 4): a failure"));
  EXPECT_TRUE(contains(run.err, "warning: engine 'Xeno 1.0' hung (no move in time) on position 5"));
  // Started twice: at first and after the hang.
  for (const char* line : {"accepted myname", "rejected bogus", "option Style=Wild", "memory 64"})
    EXPECT_EQ(count_lines("xeno.log", line), 2) << line;
  EXPECT_EQ(count_lines("xeno.log", "st 1"), 6);
  EXPECT_EQ(count_lines("xeno.log", "setboard " + rook_fen(2)), 1);
  EXPECT_EQ(count_lines("xeno.log", "edit"), 0);
  // Once at the limit of position 6; at the limit and after the grace on 5.
  EXPECT_EQ(count_lines("xeno.log", "?"), 3);
}

// No features: after the protocol's 2 s the engine is taken as version 1,
// and gets its positions through "edit".
TEST(SolveXboard, OlderEngineWithoutFeaturesGetsEdit) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(1) + "7K/8/8/8/8/8/8/r6k b - - bm Ra8+;\n");
  std::string script =
      "position w # Ra1 Kb1 c Kh8\n1 5 7 10 Ra8+\nmove Ra8+\n"
      "position b # Kh8 c Ra1 Kh1\n1 5 9 10 Ra8+\nmove a1a8\n";
  Finished run = run_solve("--epd s.epd " + fake_engine("old", script) +
                           " proto=xboard name=Old --time 1 --out o.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto comments = result_comments(dir.read("o.pgn"));
  EXPECT_EQ(comments[rook_fen(0)], "{'Old' 0.070s}");
  EXPECT_EQ(comments["7K/8/8/8/8/8/8/r6k b - - 0 1"], "{'Old' 0.090s}");
}

// An engine that offers the variant gets it before its position (one that
// does not is left out: SolveRun.MatesAndChess960InBothProtocols).
TEST(SolveXboard, Chess960ToTheEngineThatOffersIt) {
  ScratchDir dir;
  std::vector<SuitePosition> suite = suite_of(rook_suite(1));
  suite[0].chess960 = true;
  dir.write("c.script",
            "log c.log\nposition protover\nfeature setboard=1 variants=\"normal,fischerandom\" "
            "done=1\nposition 7k/\n1 0 3 10 Ra8+\nmove a1a8\n");
  EngineSetup setup{EngineSetup::Protocol::xboard, TARVOLIN_FAKE_ENGINE, {"c.script"}, "C", {}};
  std::unique_ptr<Engine> engine = make_engine(setup);
  std::string why;
  ASSERT_TRUE(engine->open(why)) << why;
  EXPECT_TRUE(engine->plays_chess960());
  SearchOutcome outcome = engine->search(suite[0], 500);
  EXPECT_EQ(outcome.kind, SearchOutcome::solved);
  EXPECT_DOUBLE_EQ(outcome.seconds, 0.03);
  EXPECT_TRUE(contains(dir.read("c.log"),
                       "new\nvariant fischerandom\nforce\nsetboard " + rook_fen(0) + "\n"));
}

// Where no engine plays Chess960 its positions leave the run; one engine
// that does is SolveRun.MatesAndChess960InBothProtocols.
TEST(SolveXboard, Chess960PositionsLeftOutForEnginesThatCannot) {
  std::vector<SuitePosition> suite(3);
  suite[1].chess960 = suite[2].chess960 = true;
  RunPlan plan;
  for (const SuitePosition& position : suite) plan.tasks.push_back({&position, {0, 1}});
  EXPECT_EQ(leave_out_chess960(plan, {false, false}), std::vector<int>({2, 2}));
  ASSERT_EQ(plan.tasks.size(), 1u);
  EXPECT_EQ(plan.tasks[0].position, &suite[0]);
}

// Two of Debian's xboard engines; both solved all ten at this limit in each
// of several runs here, so eight leaves room for a busy machine.
TEST(SolveXboardEngines, TenPositionsRatedByTarvolin) {
  rate_wac10(" --engine proto=xboard cmd=" + debian_game("phalanx") + " name=Phalanx" +
                 " --engine proto=xboard cmd=" + debian_game("hoichess") + " name=HoiChess",
             "0.2", "Phalanx", "HoiChess");
}

}  // namespace
}  // namespace tarvolin::solve::testing
