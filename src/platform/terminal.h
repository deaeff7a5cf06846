// Standard error as a terminal, for the live lines of a run.
#pragma once

#include <cstddef>

namespace tarvolin::platform {

// Whether standard error is a terminal that understands the escape
// sequences of the live lines (which moves the cursor up and erases).
bool error_is_terminal();
// Its width in columns; 80 when it does not say.
std::size_t error_terminal_width();
// Writes straight to standard error, with no buffer or lock: safe in a
// signal handler.
void write_error_now(const char* text, std::size_t size);

}  // namespace tarvolin::platform
