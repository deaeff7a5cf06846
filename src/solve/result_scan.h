// Finds, in a result file's text, what the rating program reads of it: the
// games, each one's FEN tag and its result comment with the entries in it.
// It follows the reader's own rules, so that what is rewritten here is what
// is read there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvolin::solve {

struct ScannedEntry {
  std::size_t begin = 0, end = 0;  // raw entry text: quote up to the ',' or '}'
  std::string key;                 // the program name without blanks
};

struct ScannedGame {
  std::size_t begin = 0, end = 0;  // from its Event tag to the next one
  // The position its results count for: that of the last FEN tag before
  // them, which may stand in an earlier game.
  bool has_fen = false;
  std::string fen;
  bool own_fen = false;  // the game has a FEN tag of its own
  // Its position and label come from its own FEN tag, read after its own
  // Annotator tag and before its results: the game reads the same wherever
  // it stands in the file.
  bool stands_alone = false;
  bool has_comment = false;
  std::size_t comment_open = 0, comment_close = 0;  // '{', and '}' or the end of the text
  std::vector<ScannedEntry> entries;
  std::size_t body = 0;                         // just after the game's last tag
  std::size_t termination = std::string::npos;  // "*", "1-0", "0-1" or "1/2-1/2"
};

// Every game of the text; text before the first Event tag is a game of its
// own only when it belongs to a position.
// When the text ends inside a tag or a comment, closer receives what closes
// it, so that text appended after it is read on its own.
std::vector<ScannedGame> scan_result_text(std::string_view text, std::string* closer = nullptr);

// The program name of one entry's raw text, as the reader keys it.
std::string entry_key(std::string_view entry_text);

}  // namespace tarvolin::solve
