#include "solve/solve_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "solve/result_scan.h"

namespace tarvolin::solve::testing {

Finished run_solve(const std::string& arguments, const std::string& prefix) {
  std::string command =
      prefix + "'" + TARVOLIN_SOLVE + "' " + arguments + " </dev/null >solve.stdout 2>solve.stderr";
  int status = std::system(command.c_str());
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return {code, tarvolin::testing::read_file("solve.stdout"),
          tarvolin::testing::read_file("solve.stderr")};
}

std::string fake_engine(const std::string& name, const std::string& script) {
  std::ofstream(name + ".script") << script;
  return std::string("--engine cmd='") + TARVOLIN_FAKE_ENGINE + "' arg=" + name + ".script";
}

std::string rook_suite(int n) {
  std::string suite;
  for (int k = 0; k < n; ++k)
    suite += "7k/8/8/8/8/8/8/R6K w - - bm Ra8+; hmvc " + std::to_string(k) + ";\n";
  return suite;
}

std::map<std::string, std::string> result_comments(const std::string& text) {
  std::map<std::string, std::string> comments;
  for (const ScannedGame& game : scan_result_text(text))
    if (game.has_comment)
      comments[game.fen] =
          text.substr(game.comment_open, game.comment_close + 1 - game.comment_open);
  return comments;
}

int count_lines(const std::string& path, const std::string& line) {
  std::ifstream in(path);
  int count = 0;
  for (std::string got; std::getline(in, got);) count += got == line;
  return count;
}

::testing::AssertionResult contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

}  // namespace tarvolin::solve::testing
