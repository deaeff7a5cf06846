#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace tarvolin::platform {

namespace {

constexpr std::size_t HUGE_PAGE = std::size_t{2} << 20;

void* mapped(std::size_t bytes) {
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return memory == MAP_FAILED ? nullptr : memory;
}

// A huge page must start on a boundary of its size: the map is taken one
// huge page larger and trimmed to the boundary at both ends.
void* huge_aligned(std::size_t bytes) {
  char* base = static_cast<char*>(mapped(bytes + HUGE_PAGE));
  if (base == nullptr) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(base);
  const std::uintptr_t aligned = (address + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
  char* start = base + (aligned - address);
  if (start != base) munmap(base, static_cast<std::size_t>(start - base));
  const std::size_t tail = static_cast<std::size_t>(base + bytes + HUGE_PAGE - (start + bytes));
  if (tail != 0) munmap(start + bytes, tail);
  madvise(start, bytes, MADV_HUGEPAGE);
  return start;
}

}  // namespace

void* zeroed_pages(std::size_t bytes) {
  void* memory = bytes >= HUGE_PAGE ? huge_aligned(bytes) : nullptr;
  // Under a cap on the address space the extra huge page may not fit.
  return memory != nullptr ? memory : mapped(bytes);
}

void free_pages(void* memory, std::size_t bytes) {
  if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace tarvolin::platform
