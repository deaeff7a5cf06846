// The command lines a new user tries first: the program's --help and
// --version, the generator's options and output folder, and the scripts'
// --help, each through the real executable.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

struct Outcome {
  std::string out;
  std::string err;
  int exit_code;
};

// Runs a command line in the current folder, standard input from a file.
Outcome run(const std::string& command, const std::string& input = "/dev/null") {
  const std::string err_path = "stderr.txt";
  std::FILE* pipe = popen((command + " <" + input + " 2>" + err_path).c_str(), "r");
  EXPECT_NE(pipe, nullptr);
  Outcome outcome;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    outcome.out.append(buffer, n);
  int status = pclose(pipe);
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = read_file(err_path);
  std::remove(err_path.c_str());
  return outcome;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }
const std::string PROGRAM = quoted(TARVOLIN_BINARY);
const std::string GENERATOR = quoted(TARVOLIN_GENERATOR);

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CommandLine, HelpAndVersionAnswerWithoutReadingAnything) {
  ScratchDir dir;
  dir.write("suite.pgn", "[Event \"x\"]\n[FEN \"f\"]\n{'A' 1s, 'B' 2s}\n");
  const std::string version = std::string("tarvolin ") + TARVOLIN_PROJECT_VERSION + "\n";
  const std::pair<const char*, bool> cases[] = {
      {"--help", true},
      {"-h", true},
      {"suite --help", true},
      {"--version", false},
      {"--version --help", false},  // the first request decides
  };
  for (const auto& [arguments, help] : cases) {
    Outcome o = run(PROGRAM + " " + arguments);
    EXPECT_EQ(o.exit_code, 0) << arguments;
    EXPECT_EQ(o.err, "") << arguments;
    EXPECT_FALSE(contains(o.out, "Tarvolin, Version")) << arguments;  // no dialogue
    if (help) {
      for (const char* topic : {"usage: tarvolin", "Start Elo", "Offset.pgn", "warm-up",
                                "general.dat", "positions.dat", "Exit codes", "--version"})
        EXPECT_TRUE(contains(o.out, topic)) << arguments << " lacks " << topic;
    } else {
      EXPECT_EQ(o.out, version) << arguments;
    }
  }
  for (const char* report : {"general.dat", "rating.dat"}) EXPECT_FALSE(dir.exists(report));
}

TEST(CommandLine, OtherArgumentsChangeNothingAndTheBannerCarriesTheVersion) {
  ScratchDir dir;
  dir.write("suite.pgn", "[Event \"x\"]\n[FEN \"f\"]\n{'A' 1s, 'B' 2s}\n");
  dir.write("answers.txt", "suite\n2600\n\n");
  Outcome plain = run(PROGRAM, "answers.txt");
  const std::string rating = dir.read("rating.dat");
  ASSERT_FALSE(rating.empty());
  for (const char* arguments : {"suite", "-x --helpme", "-- -v"}) {
    std::remove("rating.dat");
    Outcome other = run(PROGRAM + " " + arguments, "answers.txt");
    EXPECT_EQ(without_timing(other.out), without_timing(plain.out)) << arguments;
    EXPECT_EQ(other.exit_code, plain.exit_code) << arguments;
    EXPECT_EQ(dir.read("rating.dat"), rating) << arguments;
  }
  EXPECT_EQ(plain.out.rfind(std::string("Tarvolin, Version ") + TARVOLIN_PROJECT_VERSION + "\n", 0),
            0u)
      << plain.out;
}

TEST(CommandLine, EveryToolExplainsItselfAndRejectsWrongOptions) {
  ScratchDir dir;
  const std::string source = TARVOLIN_SOURCE_DIR;
  struct Tool {
    std::string command;
    std::vector<std::string> options;  // each must be explained in the help
  };
  const Tool tools[] = {
      {GENERATOR,
       {"--out", "--name", "--programs", "--positions", "--density", "--solved", "--limits",
        "--offsets", "--offset-share", "--groups", "--seed", "--force", "--help"}},
      {quoted(source + "/scripts/long-run.sh"), {"--valgrind", "SUITES", "FIRST_SEED", "--help"}},
      {quoted(source + "/scripts/install-build-tools.sh"), {"--tests"}},
  };
  for (const Tool& tool : tools) {
    Outcome help = run(tool.command + " --help");
    EXPECT_EQ(help.exit_code, 0) << tool.command;
    EXPECT_EQ(help.err, "") << tool.command;
    EXPECT_EQ(help.out.rfind("usage: ", 0), 0u) << tool.command;
    for (const std::string& option : tool.options)
      EXPECT_NE(help.out.find(option, help.out.find('\n')), std::string::npos)
          << tool.command << " does not explain " << option;
    Outcome wrong = run(tool.command + " --no-such-option");
    EXPECT_EQ(wrong.exit_code, 2) << tool.command;
    EXPECT_EQ(wrong.out, "") << tool.command;
    std::size_t first_line = wrong.err.find('\n');
    EXPECT_TRUE(contains(wrong.err.substr(0, first_line), "--no-such-option")) << wrong.err;
    EXPECT_EQ(wrong.err.substr(first_line + 1), help.out) << tool.command;
  }
}

TEST(CommandLine, GeneratorRejectsBadValues) {
  ScratchDir dir;
  const char* cases[] = {
      "--programs",      "--programs x",  "--programs 0",     "--positions -3",
      "--density 1.5",   "--solved nan",  "--limits 60,,120", "--limits 60,-1",
      "--offsets 2",     "--offsets 3:1", "--groups 0",       "--seed -1",
      "--name sub/../x", "--name Offset", "--out ''",         "-x 1",
  };
  for (const char* arguments : cases) {
    Outcome o = run(GENERATOR + " " + arguments);
    EXPECT_EQ(o.exit_code, 2) << arguments;
    EXPECT_TRUE(contains(o.err, "usage: tarvolin_generate")) << arguments;
  }
  EXPECT_FALSE(dir.exists("suite")) << "a rejected command line wrote files";
}

// Nothing outside --out, and an existing file is replaced only with --force.
TEST(CommandLine, GeneratorWritesOnlyIntoItsFolderAndReplacesOnlyWhenForced) {
  ScratchDir dir;
  dir.write("suite.pgn", "mine");
  const std::string make = GENERATOR + " --programs 3 --positions 4 --seed 7 --out run";
  Outcome first = run(make);
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(first.out, "Wrote run/suite.pgn (3 programs, 4 positions) and run/Offset.pgn\n");
  EXPECT_EQ(dir.read("suite.pgn"), "mine");
  const std::string results = dir.read("run/suite.pgn");
  EXPECT_EQ(results.substr(0, 7), "[Event ");
  dir.write("run/Offset.pgn", "kept");
  std::remove("run/suite.pgn");
  Outcome again = run(make);
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_EQ(dir.read("run/Offset.pgn"), "kept");
  EXPECT_FALSE(dir.exists("run/suite.pgn"));
  Outcome forced = run(make + " --force --name other");
  EXPECT_EQ(forced.exit_code, 0) << forced.err;
  EXPECT_EQ(dir.read("run/other.pgn"), results);  // same seed, same file
  EXPECT_NE(dir.read("run/Offset.pgn"), "kept");
}

}  // namespace
}  // namespace tarvolin::testing
