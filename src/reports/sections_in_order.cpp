#include "reports/sections_in_order.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "core/workers.h"

namespace tarvolin {

namespace {

enum class Owner { none, writer, helper, ready, failed };

struct Pipeline {
  int count, group;
  const SectionFormat& format;
  std::mutex lock;
  std::condition_variable changed;
  std::vector<Owner> owner;  // per group
  int written = 0;           // groups handed to the file so far; INT_MAX once the writer stopped
  ReportStream slot;         // the helper's text of one group
  bool writing = false;      // the writer has begun

  void format_group(ReportStream& out, int g, unsigned worker) const {
    for (int i = g * group; i < std::min(count, (g + 1) * group); ++i) format(out, i, worker);
  }
};

// The helper takes every other group, unless the writer claimed it first,
// and only once the group two before it (its last one) has been written, so
// that one slot holds all it has formatted.
void help(Pipeline& pipe) {
  const int groups = static_cast<int>(pipe.owner.size());
  for (int g = 1; g < groups; g += 2) {
    {
      std::unique_lock<std::mutex> hold(pipe.lock);
      pipe.changed.wait(hold, [&] { return pipe.written >= g - 1; });
      if (pipe.owner[g] != Owner::none) continue;
      pipe.owner[g] = Owner::helper;
    }
    pipe.slot.restart();
    bool formatted = false;
    try {
      pipe.format_group(pipe.slot, g, 1);
      formatted = !pipe.slot.failed();
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

// Every group in order: formatted here when still unclaimed, else the
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
      out.write(pipe.slot.collected());
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

unsigned default_report_workers() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

void write_sections_in_order(ReportStream& out, int count, int group, unsigned workers,
                             const SectionFormat& format) {
  group = std::max(group, 1);
  const int groups = count <= 0 ? 0 : (count - 1) / group + 1;
  Pipeline pipe{count, group, format, {}, {}, {}, 0, {}, false};
  if (workers >= 2 && groups >= 2) {
    try {
      pipe.owner.assign(static_cast<std::size_t>(groups), Owner::none);
    } catch (const std::bad_alloc&) {
    }
  }
  if (!pipe.owner.empty()) {
    // Without a helper thread the writer claims every group in turn.
    try {
      on_workers(2, [&pipe, &out](unsigned worker) {
        if (worker == 0)
          write_all(pipe, out);
        else
          help(pipe);
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
