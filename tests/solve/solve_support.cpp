#include "solve/solve_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

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

std::string rook_fen(int k) {
  // The king takes the squares where it neither stands on the rook's file
  // nor touches the black king, from h1 on; the rook climbs a rank each round.
  std::vector<std::pair<int, int>> squares;  // rank and file, from 0
  for (int rank = 0; rank < 7; ++rank)
    for (int file = 7; file >= 1; --file)
      if (rank < 6 || file < 6) squares.emplace_back(rank, file);
  std::string board[8] = {"........", "........", "........", "........",
                          "........", "........", "........", ".......k"};
  auto [king_rank, king_file] = squares[static_cast<std::size_t>(k) % squares.size()];
  board[king_rank][king_file] = 'K';
  board[static_cast<std::size_t>(k) / squares.size()][0] = 'R';
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (char c : board[rank]) {
      if (c == '.') {
        ++empty;
        continue;
      }
      if (empty > 0) fen += std::to_string(empty);
      fen += c, empty = 0;
    }
    if (empty > 0) fen += std::to_string(empty);
    fen += rank > 0 ? "/" : " w - - 0 1";
  }
  return fen;
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
