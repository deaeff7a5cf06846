// Standard streams and the files the rating program opens.
#pragma once

#include <cstdio>

namespace tarvolin::platform {

// A standard stream that was closed before start would hand its number to
// the next file opened, and the dialogue would then read the result file
// as if typed. Parking the null device there keeps the numbers taken: a
// closed input then simply reads as its end.
void occupy_closed_standard_streams();

// True when the open file is a folder (which some systems let one open).
bool is_directory(std::FILE* file);

}  // namespace tarvolin::platform
