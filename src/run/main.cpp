#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "run/run.h"

namespace {

// A standard stream that was closed before start would hand its number to the
// next file opened, and the dialogue would then read the result file as if
// typed. Parking /dev/null there keeps the numbers taken: a closed input then
// simply reads as its end.
void occupy_closed_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) continue;
    int spare = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (spare >= 0 && spare != fd) {
      dup2(spare, fd);
      close(spare);
    }
  }
}

}  // namespace

// Command-line arguments are ignored: everything is asked on the console.
int main() {
  occupy_closed_standard_streams();
  return tarvolin::run(stdin, stdout);
}
