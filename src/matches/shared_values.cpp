#include <algorithm>
#include <atomic>

#include "core/workers.h"
#include "matches/match_layout.h"

namespace tarvolin::matching {

namespace {

// Times that several programs share on a position score alike against any
// one program: each worker keeps their scores for the program it walks. Per
// position at most this many values get a slot, the most shared first, and
// this many slots in all, so the slots stay within a few MB.
constexpr int MOST_SHARED_PER_POSITION = 255;
constexpr int64_t MOST_SHARED_SLOTS = int64_t{1} << 15;

}  // namespace

// Finds the values shared on each position. Workers take whole words of
// positions, so no two of them touch the same word of the shared bits.
void find_shared_values(const Tables& t, Layout& l, unsigned workers) {
  l.shared_id.assign(l.grid(l.n + 1, 0), 0);
  const int per_position = static_cast<int>(
      std::min<int64_t>(MOST_SHARED_PER_POSITION, MOST_SHARED_SLOTS / std::max(l.positions, 1)));
  std::vector<int32_t> shared_count(static_cast<std::size_t>(l.positions) + 1, 0);

  std::atomic<int> next_word{0};
  on_workers(workers, [&](unsigned) {
    struct Entry {
      double time;
      int32_t program;
    };
    struct Group {
      int32_t start, size;
    };
    std::vector<Entry> entries;
    std::vector<Group> groups;
    for (int w = next_word++; w < l.words; w = next_word++) {
      for (int q = std::max(1, w * WORD_BITS); q < (w + 1) * WORD_BITS && q <= l.positions; ++q) {
        entries.clear();
        for (int p = 1; p <= l.n; ++p)
          if (is_tested(t.solve_time[p][q])) entries.push_back({t.solve_time[p][q], p});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& x, const Entry& y) { return x.time < y.time; });
        groups.clear();
        for (int32_t i = 0, j; i < static_cast<int32_t>(entries.size()); i = j) {
          for (j = i + 1;
               j < static_cast<int32_t>(entries.size()) && entries[j].time == entries[i].time;)
            ++j;
          if (j - i >= 2) groups.push_back({i, j - i});
        }
        std::stable_sort(groups.begin(), groups.end(),
                         [](const Group& x, const Group& y) { return x.size > y.size; });
        if (static_cast<int>(groups.size()) > per_position) groups.resize(per_position);
        shared_count[q] = static_cast<int32_t>(groups.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
          for (int32_t i = groups[g].start; i < groups[g].start + groups[g].size; ++i) {
            l.shared[l.row(entries[i].program) + w] |= Word{1} << (q % WORD_BITS);
            l.shared_id[l.grid(entries[i].program, q)] = static_cast<uint8_t>(g + 1);
          }
        }
      }
    }
  });

  l.slot_base.assign(static_cast<std::size_t>(l.positions) + 1, 0);
  l.slot_count = 0;
  for (int q = 1; q <= l.positions; ++q) {
    l.slot_base[q] = l.slot_count - 1;  // ids count from 1
    l.slot_count += shared_count[q];
  }
}

}  // namespace tarvolin::matching
