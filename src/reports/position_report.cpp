#include "reports/position_report.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>
#include <vector>

#include "core/report_stream.h"
#include "reports/text_line.h"

namespace tarvolin {

namespace {

struct Listed {
  double time;  // absolute: a failure is listed by its limit
  int32_t program;
};

// Scratch kept between positions to save its allocations.
struct Scratch {
  std::vector<Listed> listed;
};

void write_position(TextLine& out, const Tables& t, int32_t q, Scratch& scratch) {
  std::vector<Listed>& listed = scratch.listed;
  out.format("\n\n\nPosition %3d: %s\nFEN: %-80s", q, t.position_label[q].c_str(),
             t.position_fen[q].c_str());

  int32_t tested = 0, solved = 0, internal = 0;
  double tested_sum = 0.0, internal_sum = 0.0, shown_estimate = 0.0;
  listed.clear();
  for (int r = 1; r <= t.program_count; ++r) {
    double time = t.solve_time[r][q];
    if (!is_tested(time)) continue;
    listed.push_back({std::fabs(time), r});
    ++tested;
    tested_sum += std::fabs(time);
    if (is_solved(time)) ++solved;
    double estimate = t.est_time[r][q];
    if (estimate >= 0.0) {
      ++internal;
      internal_sum += estimate;
      if (time < 0.0) shown_estimate = estimate;
    }
  }
  if (tested == 0) {
    out.literal("\nNot tested yet!\n");
    return;
  }

  const double mst2 = tested_sum / tested;
  out.format("\nSolved by %d of %d programs", solved, tested);
  if (solved != 0)
    out.format("\nMST1: %6.1f s", t.pos_mst1[q]);
  else
    out.literal("\nMST1:    -");
  out.format("\nMST2: %6.1f s", mst2);
  if (internal != 0)
    out.format("\niMST: %6.1f s", internal_sum / internal);
  else
    out.literal("\niMST:    -");
  if (solved != internal) out.format(" (estimated: %.1f s)", shown_estimate);
  const double difficulty_elo = 50.0 * std::log10(mst2 / t.overall_mst2) / std::log10(2.0);
  out.format("\nDegree of difficulty (based on MST2): %.1f (%+.1f) Elo\n",
             t.start_elo + difficulty_elo, difficulty_elo);

  // Fastest first; equal times in program order.
  std::sort(listed.begin(), listed.end(), [](const Listed& x, const Listed& y) {
    return x.time < y.time || (x.time == y.time && x.program < y.program);
  });
  for (const Listed& entry : listed) {
    const int32_t r = entry.program;
    double time = t.solve_time[r][q];
    out.character('\n');
    out.left(t.program_name[r].c_str(), 40);
    out.literal(": ");
    out.character(time < 0.0 ? '>' : (time <= 1.0 ? '<' : ' '));
    out.fixed(std::fabs(time), 7, 2);
    out.literal(" s");
  }
}

// Positions go to the file in blocks; while one block is written up here, a
// helper thread writes up the next, and both are then written in order.
constexpr int32_t BLOCK = 64;

void write_block(TextLine& text, const Tables& t, int32_t first, Scratch& scratch) {
  text.clear();
  for (int32_t q = first; q < first + BLOCK && q <= t.position_count; ++q)
    write_position(text, t, q, scratch);
}

}  // namespace

bool write_position_report(const Tables& t, std::FILE* console) {
  ReportStream out("positions.dat", console);
  out.print("Individual statistics: positions");
  out.print("\n\nMST1  : Mean solution time (only programs solving the position)\n");
  out.print("MST2  : Mean solution time (also programs not solving the position)\n");
  out.print("iMST  : Internal mean solution time (using estimated time for unsolved results)");
  TextLine text[2];
  Scratch scratch[2];
  std::exception_ptr failure;
  auto helper_work = [&](int32_t first) {
    try {
      write_block(text[1], t, first, scratch[1]);
    } catch (...) {
      failure = std::current_exception();
    }
  };
  for (int32_t first = 1; first <= t.position_count; first += 2 * BLOCK) {
    const int32_t second = first + BLOCK;
    std::thread helper;
    text[1].clear();
    if (second <= t.position_count) {
      try {
        helper = std::thread(helper_work, second);
      } catch (...) {  // no thread to be had: the block is written up here
        write_block(text[1], t, second, scratch[1]);
      }
    }
    try {
      write_block(text[0], t, first, scratch[0]);
    } catch (...) {
      if (helper.joinable()) helper.join();
      throw;
    }
    if (helper.joinable()) helper.join();
    if (failure) std::rethrow_exception(failure);
    out.print("%s", text[0].c_str());
    out.print("%s", text[1].c_str());
  }
  return out.close();
}

}  // namespace tarvolin
