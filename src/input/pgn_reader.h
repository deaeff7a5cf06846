// The reader shared by the result file and the offset file: it walks a PGN
// file character by character, reads tags outside comments, and cuts the
// first comment after each "Event " tag into entries.
#pragma once

#include <string>
#include <string_view>

#include "input/char_source.h"

namespace tarvolin {

class PgnVisitor {
 public:
  virtual ~PgnVisitor() = default;
  // A tag; name includes the blank before the value ("FEN "). Both are cut
  // at their first NUL, as C text would be.
  virtual void on_tag(std::string_view name, const std::string& value) = 0;
  // One non-empty entry of a result comment, at most its first
  // ENTRY_WINDOW + 1 characters.
  virtual void on_entry(std::string_view entry_text) = 0;
};

// Reads the whole source. "Event " tags start a new game and re-arm the
// result comment; everything else is left to the visitor.
void read_pgn(CharSource& source, PgnVisitor& visitor);

}  // namespace tarvolin
