// What the match walks read besides the tables themselves, and the steps
// that lay it out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/tables.h"
#include "matches/word_bits.h"

namespace tarvolin::matching {

// Everything the walk reads besides the tables themselves.
struct Layout {
  int n = 0;          // programs
  int positions = 0;  // positions
  int words = 0;
  bool laid_out = false;                     // false: memory ran out, and every walk is plain
  std::vector<Word> tested, solved, shared;  // words per program, program-major
  std::vector<Word> in_class;                // words per difficulty class 0..3

  // Sparse tables: per position, the results of the programs tested there
  // (entries listed[q] to listed[q + 1]), the solutions first, fastest
  // first, then the failures, longest limit first. Against a given result
  // the matches on a position are then one run of each part, and equal
  // times sit side by side.
  bool sparse = false;
  struct Listed {
    double time, est;
    int32_t program;
  };
  std::vector<int32_t> listed, failures_from;
  std::vector<Listed> entries;

  // Dense tables: per result, 1 + the number of its value's slot among the
  // position's shared values, 0 when unshared; slot_base[q] + id is the
  // slot.
  std::vector<uint8_t> shared_id;
  std::vector<int32_t> slot_base;
  int32_t slot_count = 0;

  std::size_t row(int p) const { return static_cast<std::size_t>(p) * words; }
  std::size_t grid(int p, int q) const {
    return static_cast<std::size_t>(p) * (positions + 1) + static_cast<std::size_t>(q);
  }
};

// Sets the tested and solved bits of every result and the class bits of
// every position. Returns the number of tested results.
int64_t mark_results(const Tables& tables, Layout& layout);

// Lists the tested results position by position and sets sparse, when few
// enough cells are tested for the lists to beat the words.
void gather_lists(const Tables& tables, Layout& layout, int64_t tested_count);

// Finds the values shared on each position, with their slots.
void find_shared_values(const Tables& tables, Layout& layout, unsigned workers);

}  // namespace tarvolin::matching
