// Large zeroed blocks straight from the operating system.
#pragma once

#include <cstddef>

namespace tarvolin::platform {

// Granted in whole pages and zeroed; pages left untouched cost no memory.
// Where the system offers huge pages and the block is large enough it asks
// for them, so that filling a table takes a few dozen page faults rather
// than thousands. nullptr when no memory is left. bytes must be a multiple
// of PAGE_SIZE.
inline constexpr std::size_t PAGE_SIZE = 4096;
void* zeroed_pages(std::size_t bytes);
void free_pages(void* memory, std::size_t bytes);

}  // namespace tarvolin::platform
