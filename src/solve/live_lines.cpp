#include "solve/live_lines.h"

#include <cstdio>

namespace tarvolin::solve {

namespace {

std::string worker_line(std::size_t index, const WorkerLive& worker, const LiveSnapshot& run) {
  std::string text(1, '[');
  text += std::to_string(index + 1) + "] ";
  if (!worker.busy) return text + "idle";
  char elapsed[64];
  std::snprintf(elapsed, sizeof elapsed, "%.1f", worker.elapsed_s);
  text += std::to_string(worker.task) + "/" + std::to_string(run.tasks) + " " + worker.label +
          "  " + worker.engine + "  " + elapsed + "s of " + run.limit_text + "s";
  if (worker.depth) text += "  depth " + std::to_string(*worker.depth);
  if (worker.move.empty()) return text + "  no move yet";
  return text + "  " + worker.move + (worker.right ? " (right)" : " (wrong)");
}

std::string fit(std::string line, std::size_t width) {
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  if (width > 0 && line.size() >= width) line.resize(width - 1);
  return line;
}

}  // namespace

std::vector<std::string> live_lines(const LiveSnapshot& snapshot, std::size_t width) {
  std::vector<std::string> lines;
  for (std::size_t k = 0; k < snapshot.workers.size(); ++k)
    lines.push_back(fit(worker_line(k, snapshot.workers[k], snapshot), width));
  lines.push_back(fit(snapshot.run_line, width));
  return lines;
}

}  // namespace tarvolin::solve
