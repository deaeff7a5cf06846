// A merged result file in the order of its suite, so that the rating
// program numbers the positions as the suite does, however the work was
// split.
#pragma once

#include <string>
#include <vector>

namespace tarvolin::solve {

// The text with its games in the order of the given positions (matched by
// position_key), games of other positions after them in the order met. Text
// before the first game stays first. A game moves whole, with the games after
// it that take their position or label from it; the blank lines between
// games stay where they stand. Text already in that order comes back as it
// was; otherwise a text cut off inside a tag or a comment is closed first.
std::string in_suite_order(std::string text, const std::vector<std::string>& fens);

}  // namespace tarvolin::solve
