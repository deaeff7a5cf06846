// Whether a file can be a result file at all, before it is merged or
// extended, so that a binary, a test suite or a README given by mistake is
// refused instead of being rewritten or taken in.
#pragma once

#include <string>
#include <string_view>

namespace tarvolin::solve {

// True for text that holds at least one game of a position (a FEN tag, as
// the rating program reads it), and for text that is empty or blank. False,
// with why saying what is wrong ("it holds NUL bytes"), for text with NUL
// bytes or other control bytes (all below 32 and 127, but for tab, line
// feed, vertical tab, form feed, carriage return and the Ctrl-Z that old
// files end with), and for other text without any such game.
bool is_result_text(std::string_view text, std::string& why);

}  // namespace tarvolin::solve
