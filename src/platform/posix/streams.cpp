#include "platform/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvolin::platform {

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

bool is_directory(std::FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace tarvolin::platform
