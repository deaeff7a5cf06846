// Threads with a stack of a chosen size, which std::thread cannot give.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvolin::platform {

struct Thread {
  std::uintptr_t handle = 0;
};

// Starts body(argument) on a new thread whose stack is at least stack bytes;
// false when the system refuses one.
bool start_thread(Thread& thread, std::size_t stack, void (*body)(void*), void* argument);
// Waits for the thread to end and lets go of it.
void join_thread(Thread& thread);

}  // namespace tarvolin::platform
