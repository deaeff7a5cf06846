#include "core/report_stream.h"

#include <cstdarg>
#include <new>

#include "core/exact_format.h"

namespace tarvolin {

namespace {

// Room for a block and the line that completes it. Without it the text
// still gets through, in smaller pieces.
void reserve_block(std::string& pending) {
  try {
    pending.reserve(ReportStream::BLOCK + 4096);
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

// Binary, so that a report ends its lines with LF on every system and is the
// same file wherever it was written.
ReportStream::ReportStream(const char* file_name, std::FILE* console)
    : file_name_(file_name), file_(std::fopen(file_name, "wb")), console_(console) {
  if (file_ == nullptr) {
    fail();
    return;
  }
  reserve_block(pending_);
}

ReportStream::ReportStream() : collecting_(true) {}

ReportStream::~ReportStream() { close(); }

void ReportStream::print(const char* format, ...) {
  if (failed_ || (file_ == nullptr && !collecting_)) return;
  std::va_list args;
  std::va_list spare;
  va_start(args, format);
  va_copy(spare, args);
  const std::size_t mark = pending_.size();
  bool formatted;
  try {
    formatted = append_vformat(pending_, formats_, format, args);
  } catch (const std::bad_alloc&) {
    // No memory to hold the line: printf writes it through the file's own
    // buffer, after everything collected before it.
    pending_.resize(mark);
    write_pending();
    formatted = !collecting_ &&
                (failed_ || (std::vfprintf(file_, format, spare) >= 0 && !std::ferror(file_)));
  }
  va_end(spare);
  va_end(args);
  if (!formatted) fail();
  if (pending_.size() >= BLOCK) write_pending();
}

void ReportStream::write(const std::string& text) {
  if (failed_ || file_ == nullptr) return;
  // Straight to the file what does not fit beside the pending text, so
  // that nothing here needs memory.
  if (pending_.size() + text.size() > pending_.capacity()) write_pending();
  if (text.size() <= pending_.capacity())
    pending_.append(text);
  else
    to_file(text.data(), text.size());
  if (pending_.size() >= BLOCK) write_pending();
}

void ReportStream::restart() {
  pending_.clear();
  failed_ = false;
}

void ReportStream::write_pending() {
  if (collecting_) return;
  to_file(pending_.data(), pending_.size());
  pending_.clear();
  // One very long line leaves no lasting mark on the memory held.
  if (pending_.capacity() > 2 * BLOCK) {
    pending_.shrink_to_fit();
    reserve_block(pending_);
  }
}

void ReportStream::to_file(const char* text, std::size_t size) {
  if (!failed_ && size != 0 && (std::fwrite(text, 1, size, file_) != size || std::ferror(file_)))
    fail();
}

bool ReportStream::close() {
  if (file_ != nullptr) {
    write_pending();
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
  if (collecting_) return;
  std::fprintf(console_, "\nCannot write '%s'\n", file_name_.c_str());
}

}  // namespace tarvolin
