// The program's version, as the banner and --version show it. The project
// version in the top-level CMakeLists.txt must say the same; a test holds the
// two together.
#pragma once

namespace tarvolin {

inline constexpr const char* VERSION = "1.0.4";

}  // namespace tarvolin
