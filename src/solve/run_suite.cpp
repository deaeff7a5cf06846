#include "solve/run_suite.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "solve/atomic_file.h"

namespace tarvolin::solve {

std::string entry_text(const std::string& name, const SearchOutcome& outcome,
                       const std::string& time_text) {
  if (outcome.kind != SearchOutcome::solved) return "'" + name + "' >" + time_text + "s";
  char time[64];
  std::snprintf(time, sizeof time, "%.3f", outcome.seconds);
  return "'" + name + "' " + time + "s";
}

namespace {

struct Shared {
  const RunSetup& setup;
  const std::vector<Task>& tasks;
  ResultDoc& doc;
  Progress& progress;
  std::mutex mutex;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> abort{false};
  bool failed = false;
  // Positions that this run added to the file, by suite number: a new game
  // goes before those of later positions, so that the file keeps suite order
  // whichever worker finishes first.
  std::map<int, std::string> added;
};

void record(Shared& shared, const Task& task,
            const std::vector<std::pair<std::size_t, SearchOutcome>>& results) {
  std::lock_guard lock(shared.mutex);
  const SuitePosition& position = *task.position;
  bool changed = false;
  for (const auto& [engine, outcome] : results) {
    const std::string& name = shared.setup.names[engine];
    if (outcome.kind == SearchOutcome::crashed || outcome.kind == SearchOutcome::hung) {
      shared.failed = true;
      shared.progress.unrun(engine);
      shared.progress.warn(
          "engine '" + name + "' " + (outcome.kind == SearchOutcome::hung ? "hung" : "crashed") +
          " on position " + std::to_string(position.number) + " (" + position.label() +
          "): no entry; " +
          (outcome.restart_failure.empty() ? "engine restarted" : outcome.restart_failure));
      continue;
    }
    shared.progress.record(engine, outcome.kind == SearchOutcome::solved, outcome.seconds);
    GameTags tags{shared.setup.event, position.label(), position.fen};
    std::string before;
    if (!shared.doc.has_position(position.fen)) {
      auto later = shared.added.upper_bound(position.number);
      if (later != shared.added.end()) before = later->second;
      shared.added.emplace(position.number, position.fen);
    }
    shared.doc.set_entry(tags, entry_text(name, outcome, shared.setup.time_text), before);
    changed = true;
  }
  shared.progress.position_done();
  std::string why;
  if (changed && !replace_file(shared.setup.out_path, shared.doc.text(), why)) {
    shared.progress.say(why + "; the last complete file stays");
    shared.failed = true;
    shared.abort = true;
  }
}

void work(Shared& shared, std::vector<std::unique_ptr<EngineSession>>& sessions) {
  while (!shared.abort) {
    std::size_t index = shared.next++;
    if (index >= shared.tasks.size()) return;
    const Task& task = shared.tasks[index];
    std::vector<std::pair<std::size_t, SearchOutcome>> results;
    for (std::size_t engine : task.engines) {
      EngineSession& session = *sessions[engine];
      SearchOutcome outcome;
      outcome.kind = SearchOutcome::crashed;
      if (session.usable() || session.open(outcome.restart_failure))
        outcome = session.search(*task.position, shared.setup.time_ms);
      results.emplace_back(engine, outcome);
    }
    record(shared, task, results);
  }
}

}  // namespace

int run_tasks(const RunSetup& setup, const std::vector<Task>& tasks,
              std::vector<std::vector<std::unique_ptr<EngineSession>>>& workers, ResultDoc& doc,
              Progress& progress) {
  Shared shared{setup, tasks, doc, progress, {}, {}, {}, false, {}};
  if (workers.size() == 1) {
    work(shared, workers[0]);
  } else {
    std::vector<std::thread> threads;
    for (auto& sessions : workers) threads.emplace_back(work, std::ref(shared), std::ref(sessions));
    for (std::thread& thread : threads) thread.join();
  }
  return shared.failed ? 1 : 0;
}

}  // namespace tarvolin::solve
