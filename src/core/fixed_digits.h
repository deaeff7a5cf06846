// The digits printf's "%.<precision>f" shows for a finite, non-negative
// double: the exact binary value rounded to nearest, ties to the even digit.
#pragma once

namespace tarvolin {

// Writes the digits to first, which must hold 310 + precision characters,
// and returns their end.
char* write_fixed(char* first, double magnitude, int precision);

}  // namespace tarvolin
