#include "core/report_stream.h"

#include <cstdarg>

namespace tarvolin {

ReportStream::ReportStream(const char* file_name, std::FILE* console)
    : file_name_(file_name), file_(std::fopen(file_name, "w")), console_(console) {
  if (file_ == nullptr) fail();
}

ReportStream::~ReportStream() { close(); }

void ReportStream::print(const char* format, ...) {
  if (failed_ || file_ == nullptr) return;
  std::va_list args;
  va_start(args, format);
  int written = std::vfprintf(file_, format, args);
  va_end(args);
  if (written < 0 || std::ferror(file_)) fail();
}

bool ReportStream::close() {
  if (file_ != nullptr) {
    // A full disk often shows only when the buffer is flushed here.
    bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) fail();
  }
  return !failed_;
}

void ReportStream::fail() {
  if (failed_) return;
  failed_ = true;
  std::fprintf(console_, "\nCannot write '%s'\n", file_name_.c_str());
}

}  // namespace tarvolin
