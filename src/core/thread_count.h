// How many threads the match builder and the report writers run.
#pragma once

#include <cstddef>
#include <optional>

namespace tarvolin {

// No phase starts more threads than this, whatever the machine or the
// environment asks for: as many as the largest machines have cores, and
// far fewer than a mistyped count would start.
inline constexpr unsigned MOST_THREADS = 256;

// The environment variable that sets the count, for tests and for users
// who share a machine.
inline constexpr const char* THREADS_VARIABLE = "TARVOLIN_THREADS";

// A count as the variable gives it: a decimal number of 1 or more, capped
// at MOST_THREADS. Anything else (empty, zero, a sign, a space or any other
// character) is no count at all.
std::optional<unsigned> parse_thread_count(const char* text);

// The count in TARVOLIN_THREADS when it holds one, else the hardware
// threads the system reports (at least 1, at most MOST_THREADS).
unsigned thread_count();

// As many of the wanted workers as budget leaves room for when each holds
// scratch_each bytes; at least one of them, as one must run anyway.
unsigned workers_within(unsigned wanted, std::size_t scratch_each, std::size_t budget);

}  // namespace tarvolin
