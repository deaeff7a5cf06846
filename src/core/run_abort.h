// A condition that ends the run at once with exit code 1, such as a registry
// overflow. The run sequence catches it, prints its message and stops, so no
// later report is written.
#pragma once

#include <string>

namespace tarvolin {

struct RunAbort {
  std::string message;  // printed on the console exactly as it stands
};

}  // namespace tarvolin
