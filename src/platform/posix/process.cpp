#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tarvolin::platform {

struct ChildProcess::State {
  pid_t pid = -1;
  int to_child = -1, from_child = -1;
};

namespace {

void close_fd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() { kill(); }

bool ChildProcess::running() const { return state_->pid > 0; }

bool ChildProcess::start(const std::vector<std::string>& argv, std::string& why) {
  kill();
  if (argv.empty()) return why = std::strerror(ENOENT), false;
  // Every descriptor is close-on-exec, so children started by other threads
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
  *state_ = {pid, in[1], out[0]};
  if (got > 0) {
    kill();
    return why = std::strerror(error), false;
  }
  return true;
}

bool ChildProcess::write(const std::string& data) {
  if (state_->to_child < 0) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t wrote = ::write(state_->to_child, data.data() + done, data.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;  // EPIPE: the child has gone
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

ChildProcess::Read ChildProcess::read(std::string& into, std::chrono::milliseconds wait) {
  if (state_->from_child < 0) return Read::end;
  pollfd poll_fd{state_->from_child, POLLIN, 0};
  int ready = ::poll(&poll_fd, 1, static_cast<int>(std::max<long long>(wait.count(), 0)));
  if (ready < 0) return errno == EINTR ? Read::timeout : Read::end;
  if (ready == 0) return Read::timeout;
  char chunk[4096];
  ssize_t got = ::read(state_->from_child, chunk, sizeof chunk);
  if (got < 0 && errno == EINTR) return Read::timeout;
  if (got <= 0) return Read::end;
  into.append(chunk, static_cast<std::size_t>(got));
  return Read::data;
}

void ChildProcess::kill() {
  close_fd(state_->to_child);
  close_fd(state_->from_child);
  if (state_->pid > 0) {
    ::kill(state_->pid, SIGKILL);
    while (::waitpid(state_->pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  state_->pid = -1;
}

}  // namespace tarvolin::platform
