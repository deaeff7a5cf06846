#include "core/grid_memory.h"

#include <new>

#include "platform/memory.h"

namespace tarvolin {

namespace {

std::size_t whole_pages(std::size_t bytes) {
  bytes = bytes == 0 ? 1 : bytes;
  return (bytes + platform::PAGE_SIZE - 1) / platform::PAGE_SIZE * platform::PAGE_SIZE;
}

}  // namespace

void* grid_memory(std::size_t bytes) {
  void* memory = platform::zeroed_pages(whole_pages(bytes));
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void free_grid_memory(void* memory, std::size_t bytes) {
  platform::free_pages(memory, whole_pages(bytes));
}

}  // namespace tarvolin
