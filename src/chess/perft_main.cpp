// chess_perft FEN DEPTH: the number of legal move paths of that length from
// the position, and the time it took. A benchmark of the move generator.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "chess/fen.h"
#include "chess/legality.h"
#include "chess/movegen.h"

int main(int argc, char** argv) {
  using namespace tarvolin::chess;
  if (argc != 3) {
    std::fprintf(stderr, "usage: chess_perft 'FEN' DEPTH\n");
    return 2;
  }
  std::string why;
  std::optional<Position> position = read_fen(argv[1], why);
  if (position && why.empty()) why = illegal_reason(*position);
  char* end = nullptr;
  long depth = std::strtol(argv[2], &end, 10);
  if (!position || !why.empty() || *end != '\0' || depth < 0 || depth > 12) {
    std::fprintf(stderr, "chess_perft: %s\n", why.empty() ? "depth is not 0 to 12" : why.c_str());
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  std::uint64_t nodes = perft(*position, static_cast<int>(depth));
  std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("perft %ld: %llu nodes in %.3f s (%.0f nodes/s)\n", depth,
              static_cast<unsigned long long>(nodes), seconds.count(),
              seconds.count() > 0 ? static_cast<double>(nodes) / seconds.count() : 0.0);
  return 0;
}
