#include "solve/file_lock.h"

#include "platform/file_lock.h"

namespace tarvolin::solve {

std::optional<FileLock> FileLock::take(const std::string& path, std::string& why) {
  std::string lock_path = path + ".lock";
  std::intptr_t handle = -1;
  platform::LockAttempt attempt = platform::take_lock(lock_path, handle);
  switch (attempt.outcome) {
    case platform::LockAttempt::taken:
      return FileLock(path, handle);
    case platform::LockAttempt::in_use:
      why = path + " is in use by another run" +
            (attempt.holder > 0 ? " (process " + std::to_string(attempt.holder) + ")"
                                : std::string()) +
            "; nothing was written";
      break;
    case platform::LockAttempt::cannot_open:
      why =
          "cannot write in the folder of " + path + " (" + lock_path + ": " + attempt.reason + ")";
      break;
    case platform::LockAttempt::cannot_lock:
      why = "cannot lock " + lock_path + ": " + attempt.reason;
      break;
  }
  return std::nullopt;
}

FileLock::~FileLock() {
  if (held_) platform::release_lock(path_ + ".lock", handle_);
}

}  // namespace tarvolin::solve
