// The one way a report reaches its file. A report that cannot be created,
// written or closed is announced once on the console and then swallowed, so
// the run carries on and the caller only learns the outcome from close().
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "core/compiled_format.h"

namespace tarvolin {

class ReportStream {
 public:
  // Text is collected and handed to the file in blocks of this size.
  static constexpr std::size_t BLOCK = std::size_t{1} << 20;

  // Creates or truncates file_name in text mode; failures go to console.
  ReportStream(const char* file_name, std::FILE* console);
  // A stream without a file that only collects what is printed, for a part
  // of a report formatted on another thread. It fails silently, and the
  // part is then formatted again into the file's stream.
  ReportStream();
  ~ReportStream();
  ReportStream(const ReportStream&) = delete;
  ReportStream& operator=(const ReportStream&) = delete;

  // printf-style write; does nothing once the stream has failed.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Adds text collected elsewhere, as if it were printed here.
  void write(const std::string& text);

  // A collecting stream's text; false when some of it could not be formatted.
  bool failed() const { return failed_; }
  const std::string& collected() const { return pending_; }
  // Empties a collecting stream for reuse, keeping its memory.
  void restart();

  // Closes the file. True when every byte of the report reached it.
  bool close();

 private:
  void write_pending();
  // Hands text to the file, failing the stream when it cannot take it all.
  void to_file(const char* text, std::size_t size);
  void fail();

  std::string file_name_;
  std::FILE* file_ = nullptr;
  std::FILE* console_ = nullptr;
  bool collecting_ = false;
  std::string pending_;
  bool failed_ = false;
  FormatCache formats_;
};

}  // namespace tarvolin
