#include "platform/streams.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace tarvolin::platform {

void occupy_closed_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (_get_osfhandle(fd) != -1) continue;
    int spare = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
    if (spare >= 0 && spare != fd) {
      _dup2(spare, fd);
      _close(spare);
    }
  }
}

bool is_directory(std::FILE* file) {
  struct _stat64 info;
  return _fstat64(_fileno(file), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

}  // namespace tarvolin::platform
