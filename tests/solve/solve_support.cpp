#include "solve/solve_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

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

std::string stockfish_engine() {
  return " --engine cmd=" + debian_game("stockfish") + " option.Threads=1";
}

std::string rook_fen(int k) {
  // The white king on b1..h6 (42 squares, never beside the black king on
  // h8), and from the 43rd position on a white pawn on b7, then on c7.
  int king = k % 42, pawn = k / 42;
  std::string ranks[8] = {"7k", "8", "8", "8", "8", "8", "8", "R7"};
  int file = 1 + king % 7, rank = king / 7;  // rank 0 is the first rank
  std::string& row = ranks[7 - rank];
  std::string first = rank == 0 ? "R" : "";
  int before = file - (rank == 0 ? 1 : 0), after = 7 - file;
  row = first + (before > 0 ? std::to_string(before) : "") + "K" +
        (after > 0 ? std::to_string(after) : "");
  if (pawn == 1) ranks[1] = "1P6";
  if (pawn == 2) ranks[1] = "2P5";
  std::string fen = ranks[0];
  for (int r = 1; r < 8; ++r) fen += "/" + ranks[r];
  return fen + " w - - 0 1";
}

std::string rook_suite(int n) {
  std::string suite;
  for (int k = 0; k < n; ++k)
    suite += rook_fen(k).substr(0, rook_fen(k).size() - 4) + " bm Ra8+;\n";
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

int solved_count(const std::map<std::string, std::string>& comments, const std::string& name) {
  int solved = 0;
  for (const auto& [fen, comment] : comments) {
    std::size_t at = comment.find("'" + name + "' ");
    if (at == std::string::npos) return -1;
    solved += comment[at + name.size() + 3] != '>';
  }
  return solved;
}

void rate_wac10(const std::string& engines, const std::string& seconds, const std::string& first,
                const std::string& second) {
  ScratchDir dir;
  Finished run = run_solve("--epd '" TARVOLIN_TEST_DATA "/solve/wac10.epd'" + engines + " --time " +
                           seconds + " --concurrency 2 --out wac.pgn");
  ASSERT_EQ(run.exit_code, 0) << run.err << "(scripts/install-build-tools.sh --tests installs it)";
  std::string text = dir.read("wac.pgn");
  auto comments = result_comments(text);
  ASSERT_EQ(comments.size(), 10u) << text;
  for (const std::string& name : {first, second})
    EXPECT_GE(solved_count(comments, name), 8) << name << "\n" << text;
  tarvolin::testing::RunResult rated = tarvolin::testing::run_binary("wac\n2600\n\n");
  EXPECT_EQ(rated.exit_code, 0) << rated.console;
  auto squeezed = [](std::string name) { return std::erase(name, ' '), name; };
  EXPECT_TRUE(contains(rated.console, "(1) " + squeezed(first) + "\n(2) " + squeezed(second) +
                                          "\n2 programs\n10 positions\n"));
}

std::string debian_game(const std::string& program) {
  std::string path = "/usr/games/" + program;
  return ::access(path.c_str(), X_OK) == 0 ? path : program;
}

std::vector<SuitePosition> suite_of(const std::string& text) {
  std::vector<SuitePosition> suite;
  std::string why;
  std::istringstream in(text);
  EXPECT_TRUE(read_suite(in, suite, why)) << why;
  return suite;
}

std::string suite_error(const std::string& text) {
  std::vector<SuitePosition> suite;
  std::string why;
  std::istringstream in(text);
  return read_suite(in, suite, why) ? "" : why;
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

::testing::AssertionResult matches(const std::string& text, const std::string& pattern) {
  if (std::regex_search(text, std::regex(pattern))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no match of \"" << pattern << "\" in:\n" << text;
}

}  // namespace tarvolin::solve::testing
