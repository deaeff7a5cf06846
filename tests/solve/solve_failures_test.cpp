#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <tuple>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

const char* const QUICK =
    "name Quick\nlog quick.log\nposition 7k/\ninfo depth 1 time 50 pv a1a8\nbestmove a1a8\n";

TEST(SolveFailures, BadInputAndHelpStopBeforeAnyPosition) {
  ScratchDir dir;  // first: the engine scripts are written into it
  const std::string ok = fake_engine("q", QUICK), epd = "--epd s.epd " + ok,
                    rest = " --time 1 --out o.pgn";
  // What is wrong, the arguments, what the one line of error says.
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"bad EPD line", "--epd bad.epd " + ok + rest,
       "tarvolin-solve: bad.epd line 2: bm Qa8 is not a legal move"},
      {"a position twice", "--epd twice.epd " + ok + rest,
       "tarvolin-solve: twice.epd line 3: the same position as line 2"},
      {"no suite", "--epd none.epd " + ok + rest, "tarvolin-solve: cannot read"},
      {"empty suite", "--epd /dev/null " + ok + rest, "holds no position"},
      {"engine not there", "--epd s.epd --engine cmd=/no/such/engine" + rest,
       "engine '/no/such/engine' (/no/such/engine) cannot be started"},
      {"no uciok",
       "--epd s.epd " + fake_engine("mute", "name Mute\nno-uciok\n") + " name=Mute" + rest,
       "engine 'Mute' (" TARVOLIN_FAKE_ENGINE ") hung: no uciok within 10 s of uci"},
      {"comma in a name", epd + " name=A,B" + rest, "the engine name 'A,B' contains a comma"},
      {"quote in a name", epd + " \"name=it's\"" + rest, "quote"},
      {"brace in a name", epd + " 'name=a}b'" + rest, "'}'"},
      {"names equal but for blanks", epd + " 'name=Al pha' " + ok + " name=Alpha" + rest,
       "two engines are named 'Alpha' (blanks do not count)"},
      {"time not a number", epd + " --time abc --out o.pgn", "--time 'abc'"},
      {"time zero", epd + " --time 0 --out o.pgn", "--time '0'"},
      {"shard past its count", epd + rest + " --shard 3/2", "--shard '3/2'"},
      {"label of no kind", epd + rest + " --label name", "--label"},
      {"no --out", epd + " --time 1", "required"},
      {"unknown engine word", epd + " hash=1" + rest, "unknown engine setting 'hash'"},
      {"unknown protocol", epd + " proto=cecp" + rest, "proto=cecp is neither uci nor xboard"},
      {"xboard engine dies at once",
       "--epd s.epd " + fake_engine("gone", "gone-if gone.script\n") + " proto=xboard name=G" +
           rest,
       "engine 'G' (" TARVOLIN_FAKE_ENGINE ") crashed before answering protover 2"},
      {"xboard option not offered",
       "--epd s.epd " + fake_engine("few", "position protover\nfeature memory=0 done=1\n") +
           " proto=xboard name=Few option.memory=64" + rest,
       "engine 'Few' offers no option 'memory'"},
      {"output folder missing", epd + " --time 1 --out no/o.pgn",
       "the folder of no/o.pgn does not exist"},
      {"output is a folder", epd + " --time 1 --out .", "cannot read ."},
      {"output is the suite", epd + " --time 1 --out s.epd",
       "tarvolin-solve: s.epd is not a result file: it holds no game with a FEN tag\n"},
      {"merge with a missing file", "--merge o.pgn missing.pgn", "missing.pgn does not exist"},
      {"merge of a program", "--merge o.pgn in.pgn /usr/bin/true",
       "tarvolin-solve: /usr/bin/true is not a result file: it holds NUL bytes\n"},
      {"merge into a suite", "--merge s.epd in.pgn",
       "tarvolin-solve: s.epd is not a result file: it holds no game with a FEN tag\n"},
      {"merge in a missing suite's order", "--merge o.pgn in.pgn --epd none.epd",
       "tarvolin-solve: cannot read the suite none.epd\n"},
      {"merge with a run's option", "--merge o.pgn in.pgn --shard 1/2",
       "--merge takes no other option but --epd"},
      {"unknown option", "--frobnicate", "--frobnicate"},
  };
  dir.write("s.epd", rook_suite(5));
  dir.write("in.pgn", "[Event \"E\"]\n[FEN \"7k/8/8/8/8/8/8/R6K w - - 0 1\"]\n{'A' 1s} *\n");
  dir.write("bad.epd", rook_suite(1) + "7k/8/8/8/8/8/8/R6K w - - bm Qa8;\n");
  dir.write("twice.epd", rook_suite(2) + rook_suite(2).substr(rook_suite(1).size()));
  for (const auto& [name, arguments, message] : cases) {
    SCOPED_TRACE(name);
    Finished run = run_solve(arguments);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err.rfind("tarvolin-solve: ", 0), 0u) << run.err;
    EXPECT_TRUE(contains(run.err, message));
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_FALSE(dir.exists("o.pgn"));
    EXPECT_EQ(count_lines("quick.log", "go movetime 1000"), 0);
  }
  EXPECT_EQ(dir.read("s.epd"), rook_suite(5));
  // --help wins over everything else on the line.
  Finished help = run_solve("--epd x --help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: tarvolin-solve", 0), 0u);
  EXPECT_TRUE(contains(help.out, "Exit codes"));
}

// A run cut short leaves the last complete file (each is written whole and
// then renamed, so a full disk stands for a kill too), and the next run does
// only the positions it lacks. The engine answers at once, so the whole run
// takes the runner's own time (hand-shake, judging, rewriting the file and
// flushing it): under 20 ms a position.
TEST(SolveFailures, CutShortRunsLeaveWholeGamesAndResume) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(100));
  std::string arguments = "--epd s.epd " + fake_engine("q", QUICK) + " --time 1 --out o.pgn";
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run_solve(arguments).exit_code, 0);
  std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  EXPECT_LT(seconds.count(), 100 * 0.020);
  std::string full = dir.read("o.pgn");
  ASSERT_EQ(result_comments(full).size(), 100u);
  std::filesystem::remove("o.pgn");
  // Files up to two games fit under the limit; with the third one they do not.
  std::size_t third = full.find("[Event", full.find("[Event", 1) + 1);
  Finished run = run_solve(arguments, "prlimit --fsize=" + std::to_string(third + 20) + " ");
  EXPECT_EQ(run.exit_code, 1);
  // The third position's file could not be written: the run stops there.
  EXPECT_TRUE(contains(run.out, " 3/3 "));
  EXPECT_TRUE(contains(run.err, "tarvolin-solve: cannot write o.pgn"));
  EXPECT_EQ(dir.read("o.pgn"), full.substr(0, third - 1));
  for (const auto& entry : std::filesystem::directory_iterator("."))
    EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos);
  int searches_before = count_lines("quick.log", "go movetime 1000");
  EXPECT_EQ(run_solve(arguments).exit_code, 0);
  EXPECT_EQ(dir.read("o.pgn"), full);
  EXPECT_EQ(count_lines("quick.log", "go movetime 1000") - searches_before, 98);  // 3 to 100
}

}  // namespace
}  // namespace tarvolin::solve::testing
