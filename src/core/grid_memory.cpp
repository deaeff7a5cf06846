#include "core/grid_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace tarvolin {

namespace {

constexpr std::size_t PAGE = 4096;
constexpr std::size_t HUGE_PAGE = std::size_t{2} << 20;

std::size_t rounded(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

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
  char* start = base + (rounded(address, HUGE_PAGE) - address);
  if (start != base) munmap(base, static_cast<std::size_t>(start - base));
  const std::size_t tail = static_cast<std::size_t>(base + bytes + HUGE_PAGE - (start + bytes));
  if (tail != 0) munmap(start + bytes, tail);
  madvise(start, bytes, MADV_HUGEPAGE);
  return start;
}

}  // namespace

void* grid_memory(std::size_t bytes) {
  bytes = rounded(bytes == 0 ? 1 : bytes, PAGE);
  void* memory = bytes >= HUGE_PAGE ? huge_aligned(bytes) : nullptr;
  // Under a cap on the address space the extra huge page may not fit.
  if (memory == nullptr) memory = mapped(bytes);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void free_grid_memory(void* memory, std::size_t bytes) {
  if (memory != nullptr) munmap(memory, rounded(bytes == 0 ? 1 : bytes, PAGE));
}

}  // namespace tarvolin
