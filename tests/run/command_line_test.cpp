// The command lines a new user tries first, through the real executables.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

struct Outcome {
  std::string out, err;
  int exit_code;
};

// Runs a command line in the current folder, standard input from a file.
Outcome run(const std::string& command, const std::string& input = "/dev/null") {
  std::FILE* pipe = popen((command + " <" + input + " 2>stderr.txt").c_str(), "r");
  Outcome outcome{read_stream(pipe), "", 0};
  const int status = pclose(pipe);
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = read_file("stderr.txt");
  return outcome;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }
const std::string PROGRAM = quoted(TARVOLIN_BINARY), GENERATOR = quoted(TARVOLIN_GENERATOR);

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != text.npos;
}

// --help and --version answer without the dialogue; any other argument changes nothing.
TEST(CommandLine, HelpVersionAndOtherArguments) {
  ScratchDir dir;
  dir.write("suite.pgn", "[Event \"x\"]\n[FEN \"f\"]\n{'A' 1s, 'B' 2s}\n");
  dir.write("answers.txt", "suite\n2600\n\n");
  const std::string version = TARVOLIN_PROJECT_VERSION;
  // --help after an argument still helps; of two requests the first decides.
  for (const char* arguments : {"-h", "suite --help", "--version --help"}) {
    Outcome o = run(PROGRAM + " " + arguments, "answers.txt");
    EXPECT_EQ(o.exit_code + o.err.size(), 0u) << arguments;
    if (arguments[2] == 'v') {
      EXPECT_EQ(o.out, "tarvolin " + version + "\n");
    } else {
      for (const char* topic : {"usage: tarvolin", "Start Elo", "Offset.pgn", "warm-up",
                                "general.dat", "positions.dat", "Exit codes", "--version"})
        EXPECT_TRUE(contains(o.out, topic)) << arguments << " lacks " << topic;
    }
  }
  EXPECT_FALSE(dir.exists("general.dat"));
  Outcome plain = run(PROGRAM, "answers.txt");
  EXPECT_EQ(plain.out.rfind("Tarvolin, Version " + version + "\n", 0), 0u) << plain.out;
  const std::string rating = dir.read("rating.dat");
  for (const char* arguments : {"suite", "-x --helpme"}) {
    std::remove("rating.dat");
    Outcome other = run(PROGRAM + " " + arguments, "answers.txt");
    EXPECT_EQ(without_timing(other.out), without_timing(plain.out)) << arguments;
    EXPECT_EQ(dir.read("rating.dat"), rating) << arguments;
  }
}

// Bad values write nothing; a run writes nothing outside --out, and replaces
// an existing file only with --force.
TEST(CommandLine, GeneratorWritesOnlyIntoItsFolderAndReplacesOnlyWhenForced) {
  ScratchDir dir;
  for (const char* arguments : {"--programs", "--programs 0", "--density 1.5", "--solved nan",
                                "--limits 60,,120", "--offsets 3:1", "--groups 0", "--seed -1",
                                "--name sub/../x", "--name Offset", "--out ''"}) {
    Outcome o = run(GENERATOR + " " + arguments);
    EXPECT_EQ(o.exit_code, 2) << arguments;
    EXPECT_TRUE(contains(o.err, "usage: tarvolin_generate")) << arguments;
  }
  EXPECT_FALSE(dir.exists("suite"));
  dir.write("suite.pgn", "mine");
  const std::string make = GENERATOR + " --programs 3 --positions 4 --seed 7 --out run";
  Outcome first = run(make);
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(first.out, "Wrote run/suite.pgn (3 programs, 4 positions) and run/Offset.pgn\n");
  EXPECT_EQ(dir.read("suite.pgn"), "mine");
  const std::string results = dir.read("run/suite.pgn");
  dir.write("run/Offset.pgn", "kept");
  std::remove("run/suite.pgn");
  EXPECT_EQ(run(make).exit_code, 1);
  EXPECT_EQ(dir.read("run/Offset.pgn"), "kept");
  EXPECT_FALSE(dir.exists("run/suite.pgn"));
  Outcome forced = run(make + " --force --name other");
  EXPECT_EQ(forced.exit_code, 0) << forced.err;
  EXPECT_EQ(dir.read("run/other.pgn"), results);  // same seed, same file
  EXPECT_NE(dir.read("run/Offset.pgn"), "kept");
}

// Every tool explains itself on stdout with each option and its default, and
// turns a wrong option away with one line and the usage on stderr.
TEST(CommandLine, ToolsExplainThemselvesAndRefuseWrongOptions) {
  ScratchDir dir;
  const std::string long_run = quoted(std::string(TARVOLIN_SOURCE_DIR) + "/scripts/long-run.sh");
  struct Tool {
    std::string command;
    std::vector<std::string> options;
  };
  const Tool tools[] = {
      {GENERATOR,
       {"--out", "--name", "--programs", "--positions", "--density", "--solved", "--limits",
        "--offsets", "--offset-share", "--groups", "--seed", "--force", "--help"}},
      {quoted(TARVOLIN_BENCH), {"--cases", "--runs", "--dir", "--program", "--plain", "--help"}},
      {long_run, {"--valgrind", "SUITES", "FIRST_SEED", "--help"}}};
  for (const Tool& tool : tools) {
    Outcome help = run(tool.command + " --help");
    EXPECT_EQ(help.exit_code, 0) << tool.command;
    EXPECT_EQ(help.err, "") << tool.command;
    EXPECT_EQ(help.out.rfind("usage: ", 0), 0u) << tool.command;
    for (const std::string& option : tool.options)
      EXPECT_TRUE(contains(help.out, option)) << tool.command << " lacks " << option;
    if (tool.options.size() > 4) {
      EXPECT_TRUE(contains(help.out, "(default: ")) << tool.command;
    }
    Outcome wrong = run(tool.command + " --frobnicate");
    EXPECT_EQ(wrong.exit_code, 2) << tool.command;
    EXPECT_EQ(wrong.out, "") << tool.command;
    const std::size_t line_end = wrong.err.find('\n');
    EXPECT_TRUE(contains(wrong.err.substr(0, line_end), "--frobnicate")) << wrong.err;
    EXPECT_EQ(wrong.err.find("usage: ", line_end), line_end + 1) << wrong.err;
  }
  EXPECT_FALSE(dir.exists("suite"));
}

}  // namespace
}  // namespace tarvolin::testing
