// Memory for the large tables, straight from the system.
#pragma once

#include <cstddef>

namespace tarvolin {

// Zeroed memory of at least the given size, page-aligned, in huge pages
// where the system grants them, so that filling a table takes a few dozen
// page faults rather than thousands, and a table left at zero costs none
// until written. Throws std::bad_alloc when none is left.
void* grid_memory(std::size_t bytes);

void free_grid_memory(void* memory, std::size_t bytes);

}  // namespace tarvolin
