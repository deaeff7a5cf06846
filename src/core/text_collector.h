// Gathers the pieces of one formatted line on the stack. The pieces are a few
// characters each, and std::string's appends are calls into the library that
// cost more than the copying; the line reaches the string in one append.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

namespace tarvolin {

class TextCollector {
 public:
  explicit TextCollector(std::string& out) : out_(out) {}
  TextCollector(const TextCollector&) = delete;
  TextCollector& operator=(const TextCollector&) = delete;

  void put(const char* text, std::size_t length) {
    if (length > ROOM - used_ && !make_room(length)) {
      out_.append(text, length);
      return;
    }
    std::memcpy(buffer_ + used_, text, length);
    used_ += length;
  }

  void fill(char c, std::size_t count) {
    if (count > ROOM - used_ && !make_room(count)) {
      out_.append(count, c);
      return;
    }
    std::memset(buffer_ + used_, c, count);
    used_ += count;
  }

  // Hands everything gathered so far to the string.
  void flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

 private:
  static constexpr std::size_t ROOM = 512;

  // Empties the buffer; false when even an empty one is too small.
  bool make_room(std::size_t length) {
    flush();
    return length <= ROOM;
  }

  std::string& out_;
  std::size_t used_ = 0;
  char buffer_[ROOM];
};

}  // namespace tarvolin
