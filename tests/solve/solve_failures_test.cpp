#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "solve/solve_support.h"
#include "support/scratch.h"

namespace tarvolin::solve::testing {
namespace {

using tarvolin::testing::ScratchDir;

const char* const SUITE =
    "7k/8/8/8/8/8/8/R6K w - - bm Ra8+; id \"one\";\n"
    "7k/8/8/8/8/8/8/R6K w - - hmvc 1; bm Ra8+;\n"
    "7k/8/8/8/8/8/8/R6K w - - hmvc 2; bm Ra8+;\n"
    "7k/8/8/8/8/8/8/R6K w - - hmvc 3; bm Ra8+;\n"
    "7k/8/8/8/8/8/8/R6K w - - hmvc 4; bm Ra8+;\n";

std::string slow_engine(int sleep_ms) {
  return fake_engine("slow", "name Slow\nlog slow.log\nposition 7k/\nsleep " +
                                 std::to_string(sleep_ms) +
                                 "\ninfo depth 1 time 50 pv a1a8\nbestmove a1a8\n");
}

// Every game that was started in the file is complete.
void expect_whole_games(const std::string& text) {
  std::size_t games = 0;
  for (std::size_t at = text.find("[Event "); at != std::string::npos;
       at = text.find("[Event ", at + 1))
    ++games;
  EXPECT_EQ(result_comments(text).size(), games) << text;
  EXPECT_TRUE(text.empty() || text.substr(text.size() - 4) == "} *\n") << text;
}

TEST(SolveFailures, BadInputStopsBeforeAnyPosition) {
  struct Case {
    const char* name;
    std::string arguments;
    const char* message;
  };
  ScratchDir dir;  // first: the engine scripts are written into it
  const std::string ok = slow_engine(0);
  const Case cases[] = {
      {"bad EPD line", "--epd bad.epd " + ok + " --time 1 --out o.pgn",
       "tarvolin-solve: bad.epd line 2: "},
      {"no suite", "--epd none.epd " + ok + " --time 1 --out o.pgn", "tarvolin-solve: cannot read"},
      {"empty suite", "--epd /dev/null " + ok + " --time 1 --out o.pgn", "holds no position"},
      {"engine not there", "--epd s.epd --engine cmd=/no/such/engine --time 1 --out o.pgn",
       "engine '/no/such/engine' (/no/such/engine) cannot be started"},
      {"no uciok",
       "--epd s.epd " + fake_engine("mute", "name Mute\nno-uciok\n") +
           " name=Mute --time 1 --out o.pgn",
       "engine 'Mute' (" TARVOLIN_FAKE_ENGINE ") did not answer uci with uciok"},
      {"comma in a name", "--epd s.epd " + ok + " name=A,B --time 1 --out o.pgn", "comma"},
      {"quote in a name", "--epd s.epd " + ok + " \"name=it's\" --time 1 --out o.pgn", "quote"},
      {"brace in a name", "--epd s.epd " + ok + " 'name=a}b' --time 1 --out o.pgn", "'}'"},
      {"comma in an id name",
       "--epd s.epd " + fake_engine("c", "name X, Y\n") + " --time 1 --out o.pgn", "'X, Y'"},
      {"names equal but for blanks",
       "--epd s.epd " + ok + " 'name=Al pha' " + ok + " name=Alpha --time 1 --out o.pgn", "blanks"},
      {"two engines, one id name", "--epd s.epd " + ok + " " + ok + " --time 1 --out o.pgn",
       "two engines are named 'Slow'"},
      {"time not a number", "--epd s.epd " + ok + " --time abc --out o.pgn", "--time 'abc'"},
      {"time zero", "--epd s.epd " + ok + " --time 0 --out o.pgn", "--time '0'"},
      {"shard past its count", "--epd s.epd " + ok + " --time 1 --shard 3/2 --out o.pgn",
       "--shard '3/2'"},
      {"no --out", "--epd s.epd " + ok + " --time 1", "required"},
      {"unknown engine word", "--epd s.epd " + ok + " hash=1 --time 1 --out o.pgn",
       "unknown engine setting 'hash'"},
      {"output folder missing", "--epd s.epd " + ok + " --time 1 --out no/o.pgn",
       "the folder of no/o.pgn does not exist"},
      {"output is a folder", "--epd s.epd " + ok + " --time 1 --out .", "cannot read ."},
      {"merge with a missing file", "--merge o.pgn missing.pgn", "missing.pgn does not exist"},
  };
  dir.write("s.epd", SUITE);
  dir.write("bad.epd", std::string(SUITE).substr(0, 44) + "7k/8/8/8/8/8/8/R6K w - - bm Qa8;\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Finished run = run_solve(c.arguments);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err.rfind("tarvolin-solve: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_FALSE(dir.exists("o.pgn"));
    EXPECT_EQ(count_lines("slow.log", "go movetime 1000"), 0);
  }
}

TEST(SolveFailures, HelpNamesEveryOption) {
  tarvolin::testing::ScratchDir dir;
  Finished help = run_solve("--epd x --help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: tarvolin-solve", 0), 0u);
  for (const char* option :
       {"--epd", "--engine", "cmd=", "name=", "arg=", "option.", "--time", "--out", "--concurrency",
        "(default: 1)", "--shard", "--rerun", "--merge", "Exit codes"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  Finished wrong = run_solve("--frobnicate");
  EXPECT_EQ(wrong.exit_code, 2);
  EXPECT_EQ(wrong.err.rfind("tarvolin-solve: ", 0), 0u);
  EXPECT_NE(wrong.err.find("--frobnicate"), std::string::npos);
}

TEST(SolveFailures, KilledRunLeavesWholeGamesAndResumes) {
  ScratchDir dir;
  dir.write("s.epd", SUITE);
  std::string arguments = "--epd s.epd " + slow_engine(300) + " --time 1 --out o.pgn";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(
        "/bin/sh", "sh", "-c",
        (std::string("exec '") + TARVOLIN_SOLVE + "' " + arguments + " >/dev/null 2>&1").c_str(),
        static_cast<char*>(nullptr));
    ::_exit(127);
  }
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (result_comments(dir.read("o.pgn")).size() < 2 &&
         std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  std::string cut = dir.read("o.pgn");
  std::size_t done = result_comments(cut).size();
  ASSERT_GE(done, 2u);
  ASSERT_LT(done, 5u);
  expect_whole_games(cut);

  int searches_before = count_lines("slow.log", "go movetime 1000");
  Finished run = run_solve(arguments);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string whole = dir.read("o.pgn");
  EXPECT_EQ(whole.rfind(cut, 0), 0u);
  EXPECT_EQ(result_comments(whole).size(), 5u);
  EXPECT_EQ(count_lines("slow.log", "go movetime 1000") - searches_before,
            static_cast<int>(5 - done));
}

TEST(SolveFailures, FullDiskKeepsTheLastCompleteFile) {
  ScratchDir dir;
  dir.write("s.epd", SUITE);
  // Each game takes some 140 bytes: two fit under the limit, three do not.
  Finished run = run_solve("--epd s.epd " + slow_engine(0) + " --time 1 --out o.pgn");
  ASSERT_EQ(run.exit_code, 0);
  std::string full = dir.read("o.pgn");
  std::filesystem::remove("o.pgn");
  std::size_t third = full.find("[Event", full.find("[Event", 1) + 1);
  std::string limit = std::to_string(third + 20);
  std::string command = std::string("prlimit --fsize=") + limit + " '" + TARVOLIN_SOLVE +
                        "' --epd s.epd " + slow_engine(0) +
                        " --time 1 --out o.pgn </dev/null >solve.stdout 2>solve.stderr";
  int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  // The third position's file could not be written: the run stops there.
  std::string table = tarvolin::testing::read_file("solve.stdout");
  EXPECT_NE(table.find(" 3/3 "), std::string::npos) << table;
  std::string err = tarvolin::testing::read_file("solve.stderr");
  EXPECT_NE(err.find("tarvolin-solve: cannot write o.pgn"), std::string::npos) << err;
  EXPECT_EQ(dir.read("o.pgn"), full.substr(0, third - 1));
  for (const auto& entry : std::filesystem::directory_iterator("."))
    EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos);
}

}  // namespace
}  // namespace tarvolin::solve::testing
