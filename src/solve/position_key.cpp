#include "solve/position_key.h"

#include <algorithm>

namespace tarvolin::solve {

std::string position_key(std::string_view fen) {
  constexpr std::string_view BLANKS = " \t\n\r\v\f";
  std::string key;
  for (int field = 0; field < 4; ++field) {
    std::size_t begin = fen.find_first_not_of(BLANKS);
    if (begin == std::string_view::npos) break;
    fen.remove_prefix(begin);
    std::size_t end = std::min(fen.find_first_of(BLANKS), fen.size());
    if (!key.empty()) key += ' ';
    key += fen.substr(0, end);
    fen.remove_prefix(end);
  }
  return key;
}

}  // namespace tarvolin::solve
