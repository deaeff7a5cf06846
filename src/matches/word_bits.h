// Positions go in words of 64, one bit each, so that two programs find the
// positions they share a word at a time instead of one position at a time.
#pragma once

#include <cstdint>

namespace tarvolin::matching {

using Word = uint64_t;
constexpr int WORD_BITS = 64;

// Counted by hand: built for processors without a counting instruction, the
// library's count is a function call.
inline int bit_count(Word x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

inline int lowest_bit(Word x) { return __builtin_ctzll(x); }

}  // namespace tarvolin::matching
