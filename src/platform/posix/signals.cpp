#include "platform/signals.h"

#include <csignal>

namespace tarvolin::platform {

void survive_failed_writes() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tarvolin::platform
