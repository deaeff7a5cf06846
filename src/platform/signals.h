// Signals that would end the process where a failed call is wanted.
#pragma once

namespace tarvolin::platform {

// A write to an engine that is gone, or past a file size limit, then fails
// as a write and no longer ends the process.
void survive_failed_writes();

}  // namespace tarvolin::platform
