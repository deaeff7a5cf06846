#include "platform/windows/command_line.h"

#include "platform/windows/system_text.h"

namespace tarvolin::platform {

namespace {

// Backslashes are plain characters unless a run of them ends at a quote:
// there each one is doubled, and the quote itself escaped.
void append_argument(std::wstring& line, const std::wstring& word) {
  if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += word;
    return;
  }
  line += L'"';
  for (std::size_t at = 0;; ++at) {
    std::size_t backslashes = 0;
    while (at < word.size() && word[at] == L'\\') ++at, ++backslashes;
    if (at == word.size()) {
      line.append(backslashes * 2, L'\\');
      break;
    }
    if (word[at] == L'"')
      line.append(backslashes * 2 + 1, L'\\');
    else
      line.append(backslashes, L'\\');
    line += word[at];
  }
  line += L'"';
}

}  // namespace

std::wstring command_line(const std::vector<std::string>& argv) {
  std::wstring line;
  for (std::size_t k = 0; k < argv.size(); ++k) {
    if (k > 0) line += L' ';
    // The program's name is read up to the closing quote, backslashes and
    // all; a file name holds no quote, so quoting it always is safe.
    if (k == 0)
      line += L'"' + widen(argv[0]) + L'"';
    else
      append_argument(line, widen(argv[k]));
  }
  return line;
}

}  // namespace tarvolin::platform
