#include "solve/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarvolin::solve {

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

std::optional<FileLock> FileLock::take(const std::string& path, std::string& why) {
  std::string lock_path = path + ".lock";
  // A holder that ends removes the file it locked; whoever opened that file
  // meanwhile holds a lock on a name nobody else sees, and must try again.
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
      why = "cannot write in the folder of " + path + " (" + lock_path + ": " +
            std::strerror(errno) + ")";
      return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      int error = errno;
      long pid = error == EWOULDBLOCK ? holder_of(fd) : 0;
      ::close(fd);
      if (error != EWOULDBLOCK) {
        why = "cannot lock " + lock_path + ": " + std::strerror(error);
        return std::nullopt;
      }
      why = path + " is in use by another run" +
            (pid > 0 ? " (process " + std::to_string(pid) + ")" : std::string()) +
            "; nothing was written";
      return std::nullopt;
    }
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) == 0 && ::stat(lock_path.c_str(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      // The process id only serves a second run's message; the lock holds without it.
      std::string pid = std::to_string(::getpid()) + "\n";
      bool told = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) > 0;
      static_cast<void>(told);
      return FileLock(path, fd);
    }
    ::close(fd);
  }
  why = "cannot lock " + lock_path + ": it keeps being replaced";
  return std::nullopt;
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  ::unlink((path_ + ".lock").c_str());
  ::close(fd_);
}

}  // namespace tarvolin::solve
