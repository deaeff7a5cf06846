// Writing a report made of many independent sections on several threads:
// helpers format groups of sections into memory ahead of the writer, which
// formats the others straight into the file and hands the helpers' text on
// in order.
#pragma once

#include <functional>

#include "core/report_stream.h"

namespace tarvolin {

// Text a helper formats at a time: enough to keep the threads busy, little
// to hold.
inline constexpr int GROUP_BYTES = 1 << 19;

// Threads for a report: thread_count().
unsigned default_report_workers();

// Prints section i (0-based) into the given stream; worker is 0 for the
// writer, 1 to workers - 1 for the helpers, for scratch of each thread's own.
using SectionFormat = std::function<void(ReportStream& out, int section, unsigned worker)>;

// Writes sections 0..count-1 to out in order; the file's bytes are those of
// formatting them one after another. group is the number of sections a
// helper takes at a time. There are at most workers threads, fewer where
// there are fewer groups or their text would hold more than 16 MB;
// with workers below 2, or what a helper cannot start or runs out of
// memory for, this thread formats itself.
void write_sections_in_order(ReportStream& out, int count, int group, unsigned workers,
                             const SectionFormat& format);

}  // namespace tarvolin
