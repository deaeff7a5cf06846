// Writing a report made of many independent sections on two threads: a
// helper formats sections into memory ahead of the writer, which formats the
// others straight into the file and hands the helper's text on in order.
#pragma once

#include <functional>

#include "core/report_stream.h"

namespace tarvolin {

// Text the helper formats at a time: enough to keep both threads busy,
// little to hold.
inline constexpr int GROUP_BYTES = 1 << 19;

// Threads for a report: two where there are two cores.
unsigned default_report_workers();

// Prints section i (0-based) into the given stream; worker is 0 for the
// writer, 1 for the helper, for scratch of each thread's own.
using SectionFormat = std::function<void(ReportStream& out, int section, unsigned worker)>;

// Writes sections 0..count-1 to out in order; the file's bytes are those of
// formatting them one after another. group is the number of sections the
// helper takes at a time; with workers below 2, or when the helper cannot be
// started or runs out of memory, this thread formats what is left itself.
void write_sections_in_order(ReportStream& out, int count, int group, unsigned workers,
                             const SectionFormat& format);

}  // namespace tarvolin
