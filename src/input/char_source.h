// A buffered character stream over an open file, with one character of
// push-back. A carriage return directly followed by a line feed reads as a
// single line feed, so files written on Windows parse like Unix ones; a lone
// carriage return is an ordinary character.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>

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

  // Reads characters up to (not including) one for which is_stop is true, or
  // the end of the file, as a "%[^...]" scan does; keeps at most keep of them
  // in out when out is given. False when nothing was read, which leaves the
  // stop character unread. Runs of ordinary characters are taken from the
  // buffer in one piece; a carriage return goes the way of get().
  template <class IsStop>
  bool scan_until(IsStop is_stop, std::string* out, std::size_t keep) {
    if (out != nullptr) out->clear();
    bool matched = false;
    for (;;) {
      if (pushed_ == NONE && next_ < end_ && buffer_[next_] != '\r') {
        std::size_t stop = next_;
        while (stop < end_ && buffer_[stop] != '\r' &&
               !is_stop(static_cast<unsigned char>(buffer_[stop])))
          ++stop;
        if (stop > next_) {
          matched = true;
          if (out != nullptr && out->size() < keep)
            out->append(buffer_ + next_, std::min(stop - next_, keep - out->size()));
          next_ = stop;
        }
        if (stop < end_ && buffer_[stop] != '\r') return matched;
        continue;  // the end of the buffer or a carriage return
      }
      int c = peek();
      if (c == EOF || is_stop(c)) return matched;
      get();
      matched = true;
      if (out != nullptr && out->size() < keep) out->push_back(static_cast<char>(c));
    }
  }

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
