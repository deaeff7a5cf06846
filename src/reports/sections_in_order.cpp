#include "reports/sections_in_order.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "core/thread_count.h"
#include "core/workers.h"

namespace tarvolin {

namespace {

enum class Owner { none, writer, helper, ready, failed };

// A helper's slot holds one group's text, which the group's size keeps near
// GROUP_BYTES; the string holding it may have grown to twice that.
constexpr std::size_t SLOT_BYTES = 2 * static_cast<std::size_t>(GROUP_BYTES);
// What the slots may hold between them: sixteen, with which a run at the
// capacity of 1000 programs on 2000 positions peaks at 92-93 MB, where each
// further slot would add up to another MB.
constexpr std::size_t SLOTS_BUDGET = 16 * SLOT_BYTES;

struct Pipeline {
  int count, group;
  int workers;  // the writer and workers - 1 helpers
  const SectionFormat& format;
  std::mutex lock;
  std::condition_variable changed;
  std::vector<Owner> owner;  // per group
  int written = 0;           // groups handed to the file so far; INT_MAX once the writer stopped
  std::unique_ptr<ReportStream[]> slots;  // helper h's text of one group in slots[h]
  bool writing = false;                   // the writer has begun

  void format_group(ReportStream& out, int g, unsigned worker) const {
    for (int i = g * group; i < std::min(count, (g + 1) * group); ++i) format(out, i, worker);
  }
};

// Helper h takes the groups g with g % workers == h, unless the writer
// claimed one first, and each only once the one before it (g - workers) has
// been written, so that one slot holds all it has formatted.
void help(Pipeline& pipe, int h) {
  const int groups = static_cast<int>(pipe.owner.size());
  ReportStream& slot = pipe.slots[h];
  for (int64_t g = h; g < groups; g += pipe.workers) {
    {
      std::unique_lock<std::mutex> hold(pipe.lock);
      pipe.changed.wait(hold, [&] { return pipe.written > g - pipe.workers; });
      if (pipe.written == INT_MAX) return;
      if (pipe.owner[g] != Owner::none) continue;
      pipe.owner[g] = Owner::helper;
    }
    slot.restart();
    bool formatted = false;
    try {
      pipe.format_group(slot, static_cast<int>(g), static_cast<unsigned>(h));
      formatted = !slot.failed();
    } catch (...) {
    }
    {
      std::lock_guard<std::mutex> hold(pipe.lock);
      pipe.owner[g] = formatted ? Owner::ready : Owner::failed;
    }
    pipe.changed.notify_all();
    if (!formatted) return;
  }
}

// Every group in order: formatted here when still unclaimed, else its
// helper's text once it is there, or formatted here after all when the
// helper could not.
void write_all(Pipeline& pipe, ReportStream& out) {
  struct Stopped {
    Pipeline& pipe;
    ~Stopped() {
      std::lock_guard<std::mutex> hold(pipe.lock);
      pipe.written = INT_MAX;
      pipe.changed.notify_all();
    }
  } stopped{pipe};
  pipe.writing = true;
  const int groups = static_cast<int>(pipe.owner.size());
  for (int g = 0; g < groups; ++g) {
    Owner owner;
    {
      std::unique_lock<std::mutex> hold(pipe.lock);
      if (pipe.owner[g] == Owner::none) pipe.owner[g] = Owner::writer;
      pipe.changed.wait(hold, [&] { return pipe.owner[g] != Owner::helper; });
      owner = pipe.owner[g];
    }
    if (owner == Owner::ready)
      out.write(pipe.slots[g % pipe.workers].collected());
    else
      pipe.format_group(out, g, 0);
    {
      std::lock_guard<std::mutex> hold(pipe.lock);
      pipe.written = g + 1;
    }
    pipe.changed.notify_all();
  }
}

}  // namespace

unsigned default_report_workers() { return thread_count(); }

void write_sections_in_order(ReportStream& out, int count, int group, unsigned workers,
                             const SectionFormat& format) {
  group = std::max(group, 1);
  const int groups = count <= 0 ? 0 : (count - 1) / group + 1;
  // A helper with no group of its own would hold a slot and a thread for
  // nothing; past the budget, their slots would hold too much between them.
  const unsigned threads =
      std::min(std::clamp(workers, 1u, MOST_THREADS), static_cast<unsigned>(std::max(groups, 1)));
  const unsigned helpers = workers_within(threads - 1, SLOT_BYTES, SLOTS_BUDGET);
  Pipeline pipe{count, group, static_cast<int>(helpers) + 1, format, {}, {}, {}, 0, {}, false};
  if (helpers >= 1) {
    try {
      pipe.owner.assign(static_cast<std::size_t>(groups), Owner::none);
      pipe.slots.reset(new ReportStream[helpers + 1]);
    } catch (const std::bad_alloc&) {
      pipe.owner.clear();
    }
  }
  if (!pipe.owner.empty()) {
    // Without a helper thread the writer claims every group in turn.
    try {
      on_workers(helpers + 1, [&pipe, &out](unsigned worker) {
        if (worker == 0)
          write_all(pipe, out);
        else
          help(pipe, static_cast<int>(worker));
      });
      return;
    } catch (const std::bad_alloc&) {
      // Only the threads' own set-up can run out of memory, before any
      // section is written.
      if (pipe.writing) throw;
    }
  }
  for (int i = 0; i < count; ++i) format(out, i, 0);
}

}  // namespace tarvolin
