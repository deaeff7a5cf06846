#include "solve/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tarvolin::solve {

namespace {

void close_fd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

bool EngineProcess::start(const std::vector<std::string>& argv, std::string& why) {
  kill();
  // Every descriptor is close-on-exec, so engines started by other threads
  // at the same moment never inherit each other's pipes.
  int in[2], out[2], status[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return why = std::strerror(errno), false;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]), ::close(in[1]);
    return why = std::strerror(errno), false;
  }
  if (::pipe2(status, O_CLOEXEC) != 0) {
    ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
    return why = std::strerror(errno), false;
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::signal(SIGPIPE, SIG_DFL);
    ::execvp(args[0], args.data());
    int error = errno;
    [[maybe_unused]] ssize_t ignored = ::write(status[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(in[0]), ::close(out[1]), ::close(status[1]);
  if (pid < 0) {
    why = std::strerror(errno);
    ::close(in[1]), ::close(out[0]), ::close(status[0]);
    return false;
  }
  int error = 0;
  ssize_t got;
  do got = ::read(status[0], &error, sizeof error);
  while (got < 0 && errno == EINTR);
  ::close(status[0]);
  pid_ = pid, to_engine_ = in[1], from_engine_ = out[0];
  buffer_.clear();
  eof_ = false;
  if (got > 0) {
    kill();
    return why = std::strerror(error), false;
  }
  return true;
}

bool EngineProcess::send(const std::string& line) {
  if (to_engine_ < 0) return false;
  std::string data = line + "\n";
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t wrote = ::write(to_engine_, data.data() + done, data.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;  // EPIPE: the engine has gone
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

EngineProcess::Read EngineProcess::read_line(std::string& line, Clock::time_point deadline) {
  for (;;) {
    std::size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      line.assign(buffer_, 0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return Read::line;
    }
    if (eof_ || from_engine_ < 0) return Read::closed;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return Read::timeout;
    pollfd poll_fd{from_engine_, POLLIN, 0};
    int ready = ::poll(&poll_fd, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) return Read::closed;
    if (ready <= 0) continue;
    char chunk[4096];
    ssize_t got = ::read(from_engine_, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      eof_ = true;
      continue;
    }
    buffer_.append(chunk, static_cast<std::size_t>(got));
    // A line without end is no protocol; a runaway one must not fill memory.
    if (buffer_.size() > (1u << 20) && buffer_.find('\n') == std::string::npos) buffer_.clear();
  }
}

void EngineProcess::kill() {
  close_fd(to_engine_);
  close_fd(from_engine_);
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
}

}  // namespace tarvolin::solve
