// The one string that a Windows program receives in place of argv.
#pragma once

#include <string>
#include <vector>

namespace tarvolin::platform {

// argv joined so that the child's C runtime splits it back into the same
// words: blanks and quotes inside a word survive, and so do backslashes.
std::wstring command_line(const std::vector<std::string>& argv);

}  // namespace tarvolin::platform
