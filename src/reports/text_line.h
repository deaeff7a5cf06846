// Builds report text the way printf's conversions would write it, for the
// lines that reports write by the million (an opponent line per pair of
// programs, a listing line per result), where printf itself would be most of
// the run. Fixed-point numbers come from std::to_chars, which rounds the
// exact binary value as printf does.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tarvolin {

class TextLine {
 public:
  // The text so far, ended by a NUL.
  const char* c_str() {
    *room(1) = '\0';
    return data_.get();
  }
  void clear() { size_ = 0; }

  void literal(const char* text) { append(text, std::strlen(text)); }
  void character(char c) { *room(1) = c, ++size_; }

  // Anything else, through printf itself.
  void format(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    constexpr std::size_t USUAL = 256;
    std::va_list args;
    va_start(args, format);
    int length = std::vsnprintf(room(USUAL), USUAL, format, args);
    va_end(args);
    if (length < 0) return;
    if (static_cast<std::size_t>(length) >= USUAL) {  // a long name: once more with room
      va_start(args, format);
      std::vsnprintf(room(static_cast<std::size_t>(length) + 1),
                     static_cast<std::size_t>(length) + 1, format, args);
      va_end(args);
    }
    size_ += static_cast<std::size_t>(length);
  }

  // "%-<width>s": padded with blanks on the right, a longer text whole.
  void left(const char* text, std::size_t width) {
    const std::size_t length = std::strlen(text);
    append(text, length);
    if (length < width) blanks(width - length);
  }

  // "%<width>ld"
  void integer(long value, int width) {
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    right(digits, end, width);
  }

  // "%<width>.<precision>f"
  void fixed(double value, int width, int precision) {
    char digits[400];  // the widest double printed in full
    char* end;
    if (std::isfinite(value)) {
      end =
          std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision)
              .ptr;
    } else {  // nan and inf as printf spells them
      end = digits + std::snprintf(digits, sizeof digits, "%.*f", precision, value);
    }
    right(digits, end, width);
  }

 private:
  // Space for count more characters at the end.
  char* room(std::size_t count) {
    if (size_ + count > capacity_) {
      std::size_t capacity = std::max(2 * capacity_, size_ + count + 256);
      std::unique_ptr<char[]> data(new char[capacity]);
      if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
      data_ = std::move(data);
      capacity_ = capacity;
    }
    return data_.get() + size_;
  }
  void append(const char* text, std::size_t length) {
    std::memcpy(room(length), text, length);
    size_ += length;
  }
  void blanks(std::size_t count) {
    std::memset(room(count), ' ', count);
    size_ += count;
  }
  void right(const char* begin, const char* end, int width) {
    const auto length = static_cast<int>(end - begin);
    if (length < width) blanks(static_cast<std::size_t>(width - length));
    append(begin, static_cast<std::size_t>(length));
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0, capacity_ = 0;
};

}  // namespace tarvolin
