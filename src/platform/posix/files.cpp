#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarvolin::platform {

long process_id() { return static_cast<long>(::getpid()); }

bool write_flushed(const std::string& path, const std::string& text, bool& opened,
                   std::string& why) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  opened = fd >= 0;
  if (!opened) return why = std::strerror(errno), false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0)
      ok = false;
    else
      done += static_cast<std::size_t>(wrote);
  }
  ok = ok && ::fsync(fd) == 0;
  int error = errno;
  ok = ::close(fd) == 0 && ok;
  if (!ok) why = std::strerror(error ? error : EIO);
  return ok;
}

bool rename_over(const std::string& from, const std::string& to, std::string& why) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  return why = std::strerror(errno), false;
}

void remove_file(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace tarvolin::platform
