// A buffered character stream over an open file, with one character of
// push-back. A carriage return directly followed by a line feed reads as a
// single line feed, so files written on Windows parse like Unix ones; a lone
// carriage return is an ordinary character.
#pragma once

#include <cstddef>
#include <cstdio>

namespace tarvolin {

class CharSource {
 public:
  explicit CharSource(std::FILE* file) : file_(file) {}

  // Next character as an unsigned char value, or EOF.
  int get() {
    int c;
    if (pushed_ != NONE) {
      c = pushed_;
      pushed_ = NONE;
      return c;
    }
    c = raw_get();
    if (c == '\r' && raw_peek() == '\n') c = raw_get();
    return c;
  }

  // The character get() would return next, left in the stream.
  int peek() {
    if (pushed_ == NONE) pushed_ = get();
    return pushed_;
  }

  // Pushes one character back; only one may be pending.
  void unget(int c) { pushed_ = c; }

 private:
  static constexpr int NONE = -2;
  static constexpr std::size_t BUFFER_SIZE = 1 << 16;

  int raw_get() {
    if (next_ == end_ && !refill()) return EOF;
    return static_cast<unsigned char>(buffer_[next_++]);
  }
  int raw_peek() {
    if (next_ == end_ && !refill()) return EOF;
    return static_cast<unsigned char>(buffer_[next_]);
  }
  bool refill();

  std::FILE* file_;
  char buffer_[BUFFER_SIZE];
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  int pushed_ = NONE;
};

}  // namespace tarvolin
