// Running tarvolin-solve and the scripted engine from the tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/scratch.h"

namespace tarvolin::solve::testing {

using tarvolin::testing::ScratchDir;

struct Finished {
  int exit_code;
  std::string out, err;
};

// tarvolin-solve with the given arguments (shell words), in the current
// folder, standard input closed; prefix is a command that runs it, if any.
Finished run_solve(const std::string& arguments, const std::string& prefix = "");

// "--engine cmd=FAKE arg=SCRIPT" for a script written to NAME.script here.
std::string fake_engine(const std::string& name, const std::string& script);

// Position k (from 0; up to 140) of a family that differ in where the white
// king and rook stand, the rook on the a-file and the black king on h8;
// Ra8+ is legal in each. Position 0 is 7k/8/8/8/8/8/8/R6K. With "0 1".
std::string rook_fen(int k);

// The first n of those positions; the one move Ra8+ solves each.
std::string rook_suite(int n);

// FEN tag value -> the game's result comment, as the rating program would
// read them.
std::map<std::string, std::string> result_comments(const std::string& text);

// Lines of a file that equal the given one.
int count_lines(const std::string& path, const std::string& line);

// Whether text holds part; a failure shows the whole text.
::testing::AssertionResult contains(const std::string& text, const std::string& part);

}  // namespace tarvolin::solve::testing
