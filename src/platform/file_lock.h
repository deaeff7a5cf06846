// An exclusive lock on a file, which the system drops when the process ends,
// however it ends.
#pragma once

#include <cstdint>
#include <string>

namespace tarvolin::platform {

struct LockAttempt {
  enum Outcome { taken, in_use, cannot_open, cannot_lock } outcome = cannot_lock;
  long holder = 0;     // in_use: the holder's process id as it wrote it; 0 when unknown
  std::string reason;  // cannot_open, cannot_lock: the system's words
};
// Opens path (creating it) and takes its lock without waiting; the file then
// tells this process's id to whoever finds it locked.
LockAttempt take_lock(const std::string& path, std::intptr_t& handle);
// Removes the file while still holding it, then lets go.
void release_lock(const std::string& path, std::intptr_t handle);

}  // namespace tarvolin::platform
