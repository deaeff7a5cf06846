// tarvolin-solve: runs UCI engines over an EPD suite and writes the result
// file that tarvolin rates.
#include <csignal>

#include "solve/solve_command.h"

int main(int argc, char** argv) {
  // A vanished engine must show as a failed write, not end this process; a
  // file size limit likewise as a failed write of the result file.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  return tarvolin::solve::solve_command(argc, argv);
}
