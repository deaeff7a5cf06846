// Running tarvolin-solve and the scripted engine from the tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "solve/epd_suite.h"
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

// "--engine cmd=.../stockfish option.Threads=1": Debian's stockfish, which
// lives in /usr/games, not always on PATH.
std::string stockfish_engine();

// The FEN (with "0 1") of the k-th of up to 126 positions, each a different
// place of the white king or a pawn, where the one move Ra8+ (a1a8) solves
// each. All start "7k/".
std::string rook_fen(int k);
// The first n of them as a suite.
std::string rook_suite(int n);

// FEN tag value -> the game's result comment, as the rating program would
// read them.
std::map<std::string, std::string> result_comments(const std::string& text);

// The positions whose comment gives the engine a time; -1 when a comment
// lacks its entry.
int solved_count(const std::map<std::string, std::string>& comments, const std::string& name);

// Runs the ten WAC positions with the given engines (named first and second)
// and rates the file with tarvolin: each engine must solve at least eight.
void rate_wac10(const std::string& engines, const std::string& seconds, const std::string& first,
                const std::string& second);

// A program of Debian's games: in /usr/games, which is not always on PATH.
std::string debian_game(const std::string& program);

// The positions of an EPD text; the test fails where it is no suite.
std::vector<SuitePosition> suite_of(const std::string& text);
// Why an EPD text is no suite ("line N: ..."); "" for a suite.
std::string suite_error(const std::string& text);

// Lines of a file that equal the given one.
int count_lines(const std::string& path, const std::string& line);

// Whether text holds part; a failure shows the whole text.
::testing::AssertionResult contains(const std::string& text, const std::string& part);
// Whether the regular expression matches somewhere in text.
::testing::AssertionResult matches(const std::string& text, const std::string& pattern);

}  // namespace tarvolin::solve::testing
