// The suite of a run or of a merge, read from its file.
#pragma once

#include <string>
#include <vector>

#include "solve/epd_suite.h"

namespace tarvolin::solve {

// Reads and checks the whole suite at path. False when it cannot be read,
// has a bad line or holds no position, with why saying so and naming the
// file ("s.epd line 3: ...").
bool load_suite(const std::string& path, std::vector<SuitePosition>& suite, std::string& why);

}  // namespace tarvolin::solve
