// The one way a report reaches its file. A report that cannot be created,
// written or closed is announced once on the console and then swallowed, so
// the run carries on and the caller only learns the outcome from close().
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace tarvolin {

class ReportStream {
 public:
  // Text is collected and handed to the file in blocks of this size.
  static constexpr std::size_t BLOCK = std::size_t{1} << 20;

  // Creates or truncates file_name in text mode; failures go to console.
  ReportStream(const char* file_name, std::FILE* console);
  ~ReportStream();
  ReportStream(const ReportStream&) = delete;
  ReportStream& operator=(const ReportStream&) = delete;

  // printf-style write; does nothing once the stream has failed.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Closes the file. True when every byte of the report reached it.
  bool close();

 private:
  void write_pending();
  void fail();

  std::string file_name_;
  std::FILE* file_;
  std::FILE* console_;
  std::string pending_;
  bool failed_ = false;
};

}  // namespace tarvolin
