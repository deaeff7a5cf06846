// Starting a child process with pipes for its standard input and output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarvolin::platform {

struct StartedChild {
  HANDLE process = nullptr;
  HANDLE to_child = INVALID_HANDLE_VALUE;    // its input, written in blocking mode
  HANDLE from_child = INVALID_HANDLE_VALUE;  // its output, opened for overlapped reads
};

// Starts argv[0] as CreateProcess finds it (".exe" may be left out, even
// from a name with a dot) with the rest as its arguments. The child inherits
// its three standard handles and nothing else, and dies with this process.
// False with the system's reason.
bool start_child(const std::vector<std::string>& argv, StartedChild& child, std::string& why);

}  // namespace tarvolin::platform
