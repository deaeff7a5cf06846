#include "solve/result_text_check.h"

#include <algorithm>
#include <cstdio>

#include "solve/result_scan.h"

namespace tarvolin::solve {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 26;
}

bool is_control(char c) {
  auto byte = static_cast<unsigned char>(c);
  return (byte < 32 || byte == 127) && !is_blank(c);
}

}  // namespace

bool is_result_text(std::string_view text, std::string& why) {
  if (text.find('\0') != std::string_view::npos) return why = "it holds NUL bytes", false;
  auto control = std::find_if(text.begin(), text.end(), is_control);
  if (control != text.end()) {
    char detail[80];
    std::snprintf(detail, sizeof detail, "it holds control byte %d at offset %zu, so is no text",
                  static_cast<unsigned char>(*control),
                  static_cast<std::size_t>(control - text.begin()));
    return why = detail, false;
  }
  if (std::all_of(text.begin(), text.end(), is_blank)) return true;
  std::vector<ScannedGame> games = scan_result_text(text);
  if (std::none_of(games.begin(), games.end(), [](const ScannedGame& g) { return g.has_fen; }))
    return why = "it holds no game with a FEN tag", false;
  return true;
}

}  // namespace tarvolin::solve
