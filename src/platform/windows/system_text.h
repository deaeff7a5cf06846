// Between the program's narrow strings and the wide ones of the system.
#pragma once

#include <string>

namespace tarvolin::platform {

// The narrow strings come from the command line and go to the C runtime's
// file functions, which both speak the ANSI code page; converting with the
// same page keeps every path naming the file those functions would open.
std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);

// The system's words for an error code, without the final period; some
// name the file they are about as "%1", which becomes file.
std::string error_text(unsigned long code, const std::string& file = "");

}  // namespace tarvolin::platform
