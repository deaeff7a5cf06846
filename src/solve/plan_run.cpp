#include "solve/plan_run.h"

#include <cstdlib>

namespace tarvolin::solve {

bool failure_limit(std::string_view entry, double& seconds, std::string& text) {
  std::size_t quote = entry.rfind('\'');
  if (quote == std::string_view::npos) return false;
  std::size_t at = entry.find_first_not_of(" \t\r\n", quote + 1);
  if (at == std::string_view::npos || entry[at] != '>') return false;
  std::size_t end = entry.find_first_not_of("0123456789.", at + 1);
  text = std::string(entry.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
  char* stop = nullptr;
  seconds = std::strtod(text.c_str(), &stop);
  return !text.empty() && stop == text.c_str() + text.size();
}

RunPlan plan_run(const std::vector<SuitePosition>& suite, const Options& options,
                 const std::vector<std::string>& names, const ResultDoc& doc) {
  RunPlan plan;
  plan.kept.resize(names.size());
  double limit = options.time_ms / 1000.0;
  for (const SuitePosition& position : suite) {
    if ((position.number - options.shard) % options.shards != 0) continue;
    ++plan.positions;
    Task task{&position, {}};
    for (std::size_t engine = 0; engine < names.size(); ++engine) {
      std::string_view entry = doc.entry_text(position.fen, name_key(names[engine]));
      if (options.rerun || entry.empty()) {
        task.engines.push_back(engine);
        continue;
      }
      KeptEntries& kept = plan.kept[engine];
      ++kept.entries;
      double seconds = 0;
      std::string text;
      if (failure_limit(entry, seconds, text) && seconds < limit) {
        if (kept.shorter == 0 || seconds < kept.lowest)
          kept.lowest = seconds, kept.lowest_text = text;
        ++kept.shorter;
      }
    }
    if (!task.engines.empty()) plan.tasks.push_back(std::move(task));
  }
  return plan;
}

std::vector<int> leave_out_chess960(RunPlan& plan, const std::vector<bool>& plays) {
  std::vector<int> left_out(plays.size(), 0);
  std::vector<Task> kept;
  for (Task& task : plan.tasks) {
    if (task.position->chess960) {
      auto cannot = [&](std::size_t engine) { return !plays[engine]; };
      for (std::size_t engine : task.engines) left_out[engine] += cannot(engine);
      std::erase_if(task.engines, cannot);
    }
    if (!task.engines.empty()) kept.push_back(std::move(task));
  }
  plan.tasks = std::move(kept);
  return left_out;
}

}  // namespace tarvolin::solve
