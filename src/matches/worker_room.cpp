#include <algorithm>
#include <new>

#include "matches/match_walk.h"

namespace tarvolin::matching {

Room room_needed(const Layout& l) {
  Room room;
  if (!l.laid_out) return room;
  for (int p = 1; p <= l.n; ++p) {
    std::size_t tested_count = 0, meetings = 0;
    for (int w = 0; w < l.words; ++w) {
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1) {
        ++tested_count;
        if (!l.sparse) continue;
        const int q = w * WORD_BITS + lowest_bit(bits);
        meetings += static_cast<std::size_t>(l.listed[q + 1] - l.listed[q] - 1);
      }
    }
    room.margins =
        std::max(room.margins, l.sparse ? meetings : static_cast<std::size_t>(l.n) * tested_count);
    room.meetings = std::max(room.meetings, meetings);
  }
  return room;
}

std::size_t scratch_bytes(const Layout& l, const Room& room) {
  if (!l.laid_out) return 0;
  std::size_t bytes = room.margins * sizeof(double);
  if (l.sparse)
    bytes +=
        room.meetings * 2 * sizeof(Meeting) + (static_cast<std::size_t>(l.n) + 2) * sizeof(int32_t);
  else
    bytes += static_cast<std::size_t>(l.slot_count) * sizeof(Worker::Slot);
  return bytes;
}

bool Worker::make_room(const Layout& l, const Room& room) {
  if (!l.laid_out) return false;
  try {
    margin_scores.reset(new double[room.margins]);  // pages are only touched as filled
    if (l.sparse) {
      met.reserve(room.meetings);
      by_opponent.reserve(room.meetings);
      opponent_start.reserve(static_cast<std::size_t>(l.n) + 2);
    } else {
      slots.assign(static_cast<std::size_t>(l.slot_count), {0.0, 0.0, 0});
    }
  } catch (const std::bad_alloc&) {
    margin_scores.reset();
    std::vector<Meeting>().swap(met);
    std::vector<Meeting>().swap(by_opponent);
    std::vector<Slot>().swap(slots);
    return false;
  }
  ready = true;
  return true;
}

}  // namespace tarvolin::matching
