// One writer per result file. A run, or a merge, holds the lock of its
// output for its whole life, so that two of them cannot each rewrite the
// file from their own copy and lose the other's results. The operating
// system drops the lock when the process dies, however it dies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvolin::solve {

class FileLock {
 public:
  // Takes the lock of the result file PATH, kept in PATH.lock beside it
  // (PATH itself is replaced by a rename on every write, so a lock on it
  // would be lost at the first write). Creating that file also proves that
  // the folder can be written. nullopt with a one-line reason when another
  // process holds the lock (naming it where it can be told) or the folder
  // cannot be written.
  static std::optional<FileLock> take(const std::string& path, std::string& why);

  FileLock(FileLock&& other) noexcept
      : path_(std::move(other.path_)), handle_(other.handle_), held_(other.held_) {
    other.held_ = false;
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  FileLock& operator=(FileLock&&) = delete;
  // Removes the lock file while still holding it, then lets go.
  ~FileLock();

 private:
  FileLock(std::string path, std::intptr_t handle)
      : path_(std::move(path)), handle_(handle), held_(true) {}

  std::string path_;
  std::intptr_t handle_;
  bool held_;
};

}  // namespace tarvolin::solve
