#include "input/pgn_reader.h"

#include <cctype>

#include "input/entry_parser.h"

namespace tarvolin {

namespace {

void cut_at_nul(std::string& text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
}

// A tag after its '[': name up to the first double quote, the quote, the
// value up to the next quote, the quote, one more character (normally ']')
// and any white space. A part that matches nothing ends the scan and stays
// empty; what is left passes through the character loop.
void read_tag(CharSource& source, std::string& name, std::string& value) {
  auto is_quote = [](int c) { return c == '"'; };
  const std::size_t whole = std::string::npos;
  value.clear();
  if (!source.scan_until(is_quote, &name, whole)) return;
  if (source.get() == EOF) return;
  if (!source.scan_until(is_quote, &value, whole)) return;
  if (source.get() == EOF) return;
  if (source.get() == EOF) return;
  while (std::isspace(source.peek())) source.get();
}

// The first comment of a game, just after its '{'. Entries run to the next
// ',' or '}'; the text after an entry up to the next opening quote or '}' is
// thrown away.
void read_result_comment(CharSource& source, PgnVisitor& visitor, std::string& entry) {
  auto ends_entry = [](int c) { return c == ',' || c == '}'; };
  auto ends_separator = [](int c) { return c == '\'' || c == '}'; };
  for (;;) {
    bool have_entry = source.scan_until(ends_entry, &entry, ENTRY_WINDOW + 1);
    int end_character = '}';
    if (source.scan_until(ends_separator, nullptr, 0)) {
      int c = source.get();
      if (c != EOF) end_character = c;
      if (end_character == '\'') source.unget(c);
    }
    if (have_entry) {
      cut_at_nul(entry);
      visitor.on_entry(entry);
    }
    if (end_character != '\'') return;
  }
}

// Just after a game's '{': white space before the first entry is layout, not
// part of a name. A comment that then starts with anything but an entry's
// quote, a comma or '}' is a remark written before the results; it is passed
// over whole, so that the game's next comment can still be its result
// comment. True when the comment holds results (or is empty).
bool starts_result_comment(CharSource& source) {
  auto is_layout = [](int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  };
  while (is_layout(source.peek())) source.get();
  int c = source.peek();
  if (c == EOF || c == '\'' || c == ',' || c == '}') return true;
  source.scan_until([](int x) { return x == '}'; }, nullptr, 0);
  return false;  // the character loop reads the '}' and leaves the comment
}

}  // namespace

void read_pgn(CharSource& source, PgnVisitor& visitor) {
  bool in_comment = false;
  bool results_read = false;
  std::string name, value, entry;
  for (int c = source.get(); c != EOF; c = source.get()) {
    if (c == '{') {
      in_comment = true;
      if (!results_read) {
        if (!starts_result_comment(source)) continue;
        read_result_comment(source, visitor, entry);
        in_comment = false;
        results_read = true;
      }
    } else if (c == '}') {
      in_comment = false;
    } else if (c == '[' && !in_comment) {
      read_tag(source, name, value);
      cut_at_nul(name);
      cut_at_nul(value);
      if (name == "Event ") results_read = false;
      visitor.on_tag(name, value);
    }
  }
}

}  // namespace tarvolin
