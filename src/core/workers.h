// Running one piece of work on several threads at once.
#pragma once

#include <exception>
#include <thread>
#include <vector>

namespace tarvolin {

// Runs work(worker) on the given number of threads, the calling one
// included; the workers share out the work among themselves, so a thread
// that cannot be started leaves its part to the others. A failure in any of
// them (memory running out) is passed on once all have stopped.
template <class Work>
void on_workers(unsigned workers, Work work) {
  std::vector<std::exception_ptr> failures(workers);
  auto guarded = [&](unsigned worker) {
    try {
      work(worker);
    } catch (...) {
      failures[worker] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (unsigned worker = 1; worker < workers; ++worker) {
    try {
      threads.emplace_back(guarded, worker);
    } catch (...) {
      break;
    }
  }
  guarded(0u);
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tarvolin
