#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarvolin::platform {

namespace {

// The holder's process id, as it wrote it; 0 when the file holds none.
long holder_of(int fd) {
  char text[24] = {};
  ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  if (got <= 0) return 0;
  long pid = 0;
  for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9' && pid < 100000000; ++i)
    pid = pid * 10 + (text[i] - '0');
  return pid;
}

}  // namespace

LockAttempt take_lock(const std::string& path, std::intptr_t& handle) {
  LockAttempt attempt;
  // A holder that ends removes the file it locked; whoever opened that file
  // meanwhile holds a lock on a name nobody else sees, and must try again.
  for (int tries = 0; tries < 100; ++tries) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return {LockAttempt::cannot_open, 0, std::strerror(errno)};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      int error = errno;
      if (error == EWOULDBLOCK)
        attempt = {LockAttempt::in_use, holder_of(fd), ""};
      else
        attempt = {LockAttempt::cannot_lock, 0, std::strerror(error)};
      ::close(fd);
      return attempt;
    }
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      // The process id only serves a second run's message; the lock holds without it.
      std::string pid = std::to_string(::getpid()) + "\n";
      bool told = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) > 0;
      static_cast<void>(told);
      handle = fd;
      return {LockAttempt::taken, 0, ""};
    }
    ::close(fd);
  }
  return {LockAttempt::cannot_lock, 0, "it keeps being replaced"};
}

void release_lock(const std::string& path, std::intptr_t handle) {
  ::unlink(path.c_str());
  ::close(static_cast<int>(handle));
}

}  // namespace tarvolin::platform
