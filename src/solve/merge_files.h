// tarvolin-solve --merge: result files combined into one.
#pragma once

#include <string>
#include <vector>

namespace tarvolin::solve {

// Merges files[1...] into files[0] (OUT, taken as the start when it exists),
// later files' entries winning; with epd_path the games then follow that
// suite's order. Returns the exit code: 2, and nothing written, when a file
// is missing, unreadable or no result file, or the suite is bad; 1 when OUT
// cannot be written. Messages go to standard error.
int merge_files(const std::vector<std::string>& files, const std::string& epd_path);

}  // namespace tarvolin::solve
