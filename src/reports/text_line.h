// Builds report text the way printf's conversions would write it, for the
// lines that reports write by the million (an opponent line per pair of
// programs, a listing line per result), where printf itself would be most of
// the run. Fixed-point numbers come from std::to_chars, which rounds the
// exact binary value as printf does.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace tarvolin {

class TextLine {
 public:
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

  void literal(const char* text) { text_ += text; }

  // Anything else, through printf itself.
  void format(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char buffer[256];
    std::va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0) return;
    if (static_cast<std::size_t>(length) < sizeof buffer) {
      text_.append(buffer, static_cast<std::size_t>(length));
      return;
    }
    const std::size_t start = text_.size();
    text_.resize(start + static_cast<std::size_t>(length) + 1);
    va_start(args, format);
    std::vsnprintf(&text_[start], static_cast<std::size_t>(length) + 1, format, args);
    va_end(args);
    text_.resize(start + static_cast<std::size_t>(length));
  }
  void character(char c) { text_ += c; }

  // "%-<width>s": padded with blanks on the right, a longer text whole.
  void left(const char* text, std::size_t width) {
    const std::size_t length = std::strlen(text);
    text_.append(text, length);
    if (length < width) text_.append(width - length, ' ');
  }

  // "%<width>ld"
  void integer(long value, int width) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
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
  void right(const char* begin, const char* end, int width) {
    if (end - begin < width) text_.append(static_cast<std::size_t>(width - (end - begin)), ' ');
    text_.append(begin, end);
  }

  std::string text_;
};

}  // namespace tarvolin
