#include "platform/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tarvolin::platform {

bool error_is_terminal() { return ::isatty(2) != 0; }

std::size_t error_terminal_width() {
  winsize size{};
  if (::ioctl(2, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

void write_error_now(const char* text, std::size_t size) {
  [[maybe_unused]] ssize_t written = ::write(2, text, size);
}

}  // namespace tarvolin::platform
