// printf's bytes without printf's cost. The report lines are millions of
// short fields; formatting them here with std::to_chars gives the very bytes
// std::vsnprintf gives for the same format, several times faster. A format
// this formatter does not know goes to std::vsnprintf whole, so the output is
// printf's in every case.
#pragma once

#include <cstdarg>
#include <string>

#include "core/compiled_format.h"

namespace tarvolin {

// Appends to out exactly what std::vsnprintf(format, args) produces, the
// format compiled once in formats. False, with out unchanged, where printf
// reports an error.
bool append_vformat(std::string& out, FormatCache& formats, const char* format, std::va_list args);

bool append_format(std::string& out, FormatCache& formats, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

}  // namespace tarvolin
