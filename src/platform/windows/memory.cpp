#include "platform/memory.h"

#include <windows.h>

namespace tarvolin::platform {

// Committed pages come zeroed and take physical memory only once touched.
// Large pages would need a privilege that ordinary accounts lack.
void* zeroed_pages(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void free_pages(void* memory, std::size_t) {
  if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
}

}  // namespace tarvolin::platform
