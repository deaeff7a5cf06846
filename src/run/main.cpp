#include <cstdio>
#include <cstring>

#include "core/version.h"
#include "platform/streams.h"
#include "run/run.h"

namespace {

const char USAGE[] =
    "usage: tarvolin [--help | --version]\n"
    "\n"
    "Rates chess programs by how fast they solve the positions of a test suite.\n"
    "Without options it asks two questions on standard input:\n"
    "  Name of pgn-file = NAME    the result file, NAME.pgn (\".pgn\" is always added)\n"
    "  Start Elo = NUMBER         the rating each cluster is centred on; an answer\n"
    "                             that is not a number keeps 2600\n"
    "After the reports it prints \"Ready!\" and waits for Enter. The answers can be\n"
    "piped in: printf 'suite\\n2600\\n\\n' | tarvolin\n"
    "\n"
    "Files, all in the working directory:\n"
    "  reads   NAME.pgn      the results: one game per position, times in its first\n"
    "                        result comment, e.g. {'Alpha' 12.3s, 'Beta' >60s}\n"
    "  reads   Offset.pgn    optional: per-program time offsets; its first game is a\n"
    "                        warm-up and is skipped (\"Cannot find 'Offset.pgn'\" only\n"
    "                        means that no offsets are taken off)\n"
    "  writes  general.dat, cluster.dat, rating.dat, programs.dat, positions.dat\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "Other arguments are ignored.\n"
    "\n"
    "Exit codes:\n"
    "  0  a complete run: all five reports written\n"
    "  1  the run stopped (result file not opened, too many programs, positions or\n"
    "     clusters, fewer than 2 programs or no position), or a report could not\n"
    "     be written\n";

}  // namespace

// The dialogue needs no arguments; only a request for help or for the version
// is answered, before anything is read, and every other argument is ignored.
int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(USAGE, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("tarvolin %s\n", tarvolin::VERSION);
      return 0;
    }
  }
  tarvolin::platform::occupy_closed_standard_streams();
  return tarvolin::run(stdin, stdout);
}
