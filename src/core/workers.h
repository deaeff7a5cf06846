// Running one piece of work on several threads at once.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <vector>

#include "platform/threads.h"

namespace tarvolin {

// Stack of each extra thread. The work keeps its data on the heap; a
// default stack of 8 MB would count against a capped address space, and
// the C library keeps it mapped after the thread ends, for reuse.
inline constexpr std::size_t WORKER_STACK = std::size_t{1} << 20;

// Runs work(worker) on the given number of threads, the calling one
// included; the workers share out the work among themselves, so a thread
// that cannot be started leaves its part to the others. A failure in any of
// them (memory running out) is passed on once all have stopped.
template <class Work>
void on_workers(unsigned workers, Work work) {
  std::vector<std::exception_ptr> failures(workers);
  struct Start {
    std::function<void(unsigned)>* guarded;
    unsigned worker;
  };
  std::function<void(unsigned)> guarded = [&](unsigned worker) {
    try {
      work(worker);
    } catch (...) {
      failures[worker] = std::current_exception();
    }
  };
  std::vector<Start> starts(workers, Start{&guarded, 0});
  std::vector<platform::Thread> threads;
  threads.reserve(workers);
  for (unsigned worker = 1; worker < workers; ++worker) {
    starts[worker].worker = worker;
    platform::Thread thread;
    auto run = [](void* start) {
      const Start& s = *static_cast<Start*>(start);
      (*s.guarded)(s.worker);
    };
    if (!platform::start_thread(thread, WORKER_STACK, run, &starts[worker])) break;
    threads.push_back(thread);
  }
  guarded(0u);
  for (platform::Thread& thread : threads) platform::join_thread(thread);
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tarvolin
