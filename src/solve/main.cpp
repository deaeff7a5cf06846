// tarvolin-solve: runs UCI engines over an EPD suite and writes the result
// file that tarvolin rates.
#include "platform/signals.h"
#include "solve/solve_command.h"

int main(int argc, char** argv) {
  // A vanished engine must show as a failed write, not end this process; a
  // file size limit likewise as a failed write of the result file.
  tarvolin::platform::survive_failed_writes();
  return tarvolin::solve::solve_command(argc, argv);
}
