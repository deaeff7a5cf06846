#include "core/thread_count.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace tarvolin {

std::optional<unsigned> parse_thread_count(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  // Digits only; saturating at the cap, so that no length of them overflows.
  unsigned count = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return std::nullopt;
    count = std::min(MOST_THREADS, count * 10 + static_cast<unsigned>(*c - '0'));
  }
  if (count == 0) return std::nullopt;
  return count;
}

unsigned thread_count() {
  if (const std::optional<unsigned> chosen = parse_thread_count(std::getenv(THREADS_VARIABLE)))
    return *chosen;
  // Zero where the system cannot tell.
  return std::clamp(std::thread::hardware_concurrency(), 1u, MOST_THREADS);
}

unsigned workers_within(unsigned wanted, std::size_t scratch_each, std::size_t budget) {
  if (scratch_each == 0) return wanted;
  const std::size_t room = std::max<std::size_t>(1, budget / scratch_each);
  return static_cast<unsigned>(std::min<std::size_t>(wanted, room));
}

}  // namespace tarvolin
