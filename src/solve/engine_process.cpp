#include "solve/engine_process.h"

#include <algorithm>

namespace tarvolin::solve {

bool EngineProcess::start(const std::vector<std::string>& argv, std::string& why) {
  buffer_.clear();
  eof_ = false;
  return child_.start(argv, why);
}

bool EngineProcess::send(const std::string& line) { return child_.write(line + "\n"); }

EngineProcess::Read EngineProcess::read_line(std::string& line, Clock::time_point deadline) {
  for (;;) {
    std::size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      line.assign(buffer_, 0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return Read::line;
    }
    if (eof_ || !child_.running()) return Read::closed;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return Read::timeout;
    platform::ChildProcess::Read got =
        child_.read(buffer_, std::min(left, std::chrono::milliseconds(1000)));
    if (got == platform::ChildProcess::Read::end) eof_ = true;
    // A line without end is no protocol; a runaway one must not fill memory.
    if (buffer_.size() > (1u << 20) && buffer_.find('\n') == std::string::npos) buffer_.clear();
  }
}

}  // namespace tarvolin::solve
