// What a run keeps safe: one writer per result file, no engine time spent
// before the output is known to be writable, engines that keep failing given
// up, and a summary that says what the file kept.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// An engine that thinks MS milliseconds and then plays a wrong move.
std::string slow_engine(const std::string& name, int ms) {
  return fake_engine(name, "name " + name + "\nlog " + name + ".log\nposition \nsleep " +
                               std::to_string(ms) + "\nbestmove a1a2\n");
}

bool wait_for_file(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return std::filesystem::exists(path);
}

TEST(SolveTrust, OneWriterPerResultFile) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  const std::string first = "--epd s.epd " + slow_engine("Slow", 150) + " --time 1 --out o.pgn";
  int first_code = -1;
  std::thread running([&] {
    first_code =
        std::system(("'" TARVOLIN_SOLVE "' " + first + " </dev/null >a.out 2>a.err").c_str());
  });
  EXPECT_TRUE(wait_for_file("o.pgn.lock"));
  // A second run, and a merge, on the same file stop at once and write nothing.
  Finished second = run_solve("--epd s.epd " + slow_engine("Other", 0) + " --time 1 --out o.pgn");
  Finished merge = run_solve("--merge o.pgn s.pgn");
  running.join();
  for (const Finished& refused : {second, merge}) {
    EXPECT_EQ(refused.exit_code, 2);
    EXPECT_TRUE(matches(refused.err,
                        "^tarvolin-solve: o\\.pgn is in use by another run \\(process "
                        "[1-9][0-9]*\\); nothing was written\n$"));
  }
  EXPECT_EQ(count_lines("Other.log", "uci"), 0);
  EXPECT_EQ(first_code, 0);
  auto comments = result_comments(dir.read("o.pgn"));
  EXPECT_EQ(comments.size(), 6u);
  for (const auto& [fen, comment] : comments) EXPECT_EQ(comment, "{'Slow' >1s}") << fen;
  EXPECT_FALSE(dir.exists("o.pgn.lock"));

  // A run killed outright leaves its lock file, but the lock went with the
  // process: the next run takes it and finishes the suite.
  std::remove("o.pgn");
  std::thread killed([&] {
    std::system(
        ("'" TARVOLIN_SOLVE "' " + first + " </dev/null >a.out 2>a.err & echo $! >pid; wait")
            .c_str());
  });
  EXPECT_TRUE(wait_for_file("o.pgn.lock"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::string pid = dir.exists("pid") ? dir.read("pid") : "";
  if (pid.size() > 1) ::kill(std::stoi(pid), SIGKILL);
  killed.join();
  EXPECT_TRUE(dir.exists("o.pgn.lock"));
  Finished resumed = run_solve(first);
  EXPECT_EQ(resumed.exit_code, 0) << resumed.err;
  EXPECT_EQ(result_comments(dir.read("o.pgn")).size(), 6u);
}

TEST(SolveTrust, UnwritableFolderCostsNoEngineTime) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  Finished run = run_solve("--epd s.epd " + slow_engine("Slow", 0) + " --time 1 --out /proc/o.pgn");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(contains(run.err, "tarvolin-solve: cannot write in the folder of /proc/o.pgn ("));
  EXPECT_EQ(count_lines("Slow.log", "uci"), 0);
}

// The engine crashes on its first search and is never able to start again.
// Each start that fails costs up to the hand-shake's time, so it is given up
// after three; the other engine goes on.
TEST(SolveTrust, EnginesThatKeepFailingAreGivenUp) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  std::string flaky = fake_engine(
      "flaky", "name Flaky\nlog flaky.log\ngone-if crashed\nposition \ncrash-once crashed\n");
  Finished run =
      run_solve("--epd s.epd " + flaky + " " + slow_engine("Steady", 0) + " --time 1 --out o.pgn");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(count_lines("flaky.log", "uci"), 4);  // the first start, then three that failed
  EXPECT_TRUE(contains(run.err,
                       "warning: engine 'Flaky' crashed on position 1 (Pos 1): no entry; "
                       "engine 'Flaky' (" TARVOLIN_FAKE_ENGINE ") crashed before answering uci\n"));
  EXPECT_TRUE(contains(run.err, "warning: engine 'Flaky' could not be started for position 3"));
  EXPECT_TRUE(contains(run.err,
                       "warning: engine 'Flaky' failed to start 3 times in a row: it "
                       "gets no more positions in this run\n"));
  EXPECT_FALSE(contains(run.err, "position 4"));
  EXPECT_TRUE(matches(run.out, "\nFlaky +0/0 +- +- +- +6 +0\n"));
  EXPECT_TRUE(matches(run.out, "\nSteady +0/6 +0\\.0 % +- +- +0 +0\n"));
}

// An engine that falls silent after isready has hung; it has not crashed.
TEST(SolveTrust, SilenceAfterIsreadyIsAHang) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(1));
  std::string mute = fake_engine("mute", "name Mute\nhang-ready 7k/\n");
  Finished run = run_solve("--epd s.epd " + mute + " --time 1 --out o.pgn");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(contains(run.err,
                       "warning: engine 'Mute' hung (no readyok in time) on position 1 "
                       "(Pos 1): no entry; engine restarted\n"));
}

TEST(SolveTrust, WhatTheFileKeptIsSaid) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  std::string engines = slow_engine("Slow", 0) + " " + slow_engine("Quick", 0);
  ASSERT_EQ(run_solve("--epd s.epd " + engines + " --time 0.5 --out o.pgn --shard 1/2").exit_code,
            0);
  // A longer limit: positions 1, 3 and 5 are kept with their shorter one,
  // 2, 4 and 6 run now.
  Finished longer = run_solve("--epd s.epd " + engines + " --time 2 --out o.pgn");
  EXPECT_EQ(longer.exit_code, 0);
  EXPECT_TRUE(matches(longer.out, "\nSlow +0/3 +0\\.0 % +- +- +0 +3\n"));
  EXPECT_TRUE(contains(longer.out,
                       "\nSlow: 3 failures kept from the file had a shorter limit "
                       "than 2s (down to 0.5s); --rerun runs every position again\n"));
  Finished again = run_solve("--epd s.epd " + engines + " --time 2 --out o.pgn");
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(count_lines("Slow.log", "go movetime 2000"), 3);
  EXPECT_TRUE(contains(again.out,
                       "\nnothing to run: every engine has its entry on every position "
                       "of this run; --rerun runs them again\n"));
  EXPECT_TRUE(matches(again.out, "\nQuick +0/0 +- +- +- +0 +6\n"));
}

TEST(SolveTrust, AShardPastTheSuiteLeavesAnEmptyFile) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(6));
  Finished run =
      run_solve("--epd s.epd " + slow_engine("Slow", 0) + " --time 1 --out p8.pgn --shard 8/8");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(dir.exists("p8.pgn"));  // read gives "" for a missing file too
  EXPECT_EQ(dir.read("p8.pgn"), "");
  EXPECT_EQ(run.err,
            "tarvolin-solve: shard 8/8 holds none of the 6 positions of s.epd: p8.pgn "
            "written empty\n");
  EXPECT_EQ(count_lines("Slow.log", "uci"), 0);
}

}  // namespace
}  // namespace tarvolin::solve::testing
