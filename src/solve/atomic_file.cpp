#include "solve/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarvolin::solve {

bool replace_file(const std::string& path, const std::string& text, std::string& why) {
  std::string temporary = path + ".tmp." + std::to_string(::getpid());
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return why = "cannot write " + temporary + ": " + std::strerror(errno), false;
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
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) ok = false, error = errno;
  if (!ok) {
    ::unlink(temporary.c_str());
    return why = "cannot write " + path + ": " + std::strerror(error ? error : EIO), false;
  }
  return true;
}

std::optional<std::string> read_file(const std::string& path, std::string& why) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || std::filesystem::is_directory(path, error)) {
    why = "cannot read " + path;
    return std::nullopt;
  }
  return text.str();
}

}  // namespace tarvolin::solve
