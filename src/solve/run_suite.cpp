#include "solve/run_suite.h"

#include <algorithm>
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

// Starts that fail in a row before an engine is given up for the run: one
// failure may be bad luck, three are an engine that will not come back, and
// each costs up to the hand-shake's time.
constexpr int GIVE_UP_AFTER = 3;

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
  // Per engine, over all workers: failed starts since the last good one.
  std::vector<int> failed_starts;
  std::vector<PositionResult> results;
};

bool given_up(Shared& shared, std::size_t engine) {
  std::lock_guard lock(shared.mutex);
  return shared.failed_starts[engine] >= GIVE_UP_AFTER;
}

bool start(Shared& shared, Engine& session, std::size_t engine, std::string& why) {
  bool started = session.open(why);
  std::lock_guard lock(shared.mutex);
  int& streak = shared.failed_starts[engine];
  if (streak >= GIVE_UP_AFTER) return started;  // another worker gave it up meanwhile
  streak = started ? 0 : streak + 1;
  if (streak == GIVE_UP_AFTER)
    shared.progress.warn("engine '" + shared.setup.names[engine] + "' failed to start " +
                         std::to_string(GIVE_UP_AFTER) +
                         " times in a row: it gets no more positions in this run");
  return started;
}

std::string what_happened(const SearchOutcome& outcome) {
  switch (outcome.kind) {
    case SearchOutcome::crashed:
      return "crashed on";
    case SearchOutcome::hung:
      return "hung (no " + outcome.waited_for + " in time) on";
    case SearchOutcome::not_started:
      return "could not be started for";
    default:
      return "was given up before";
  }
}

void record(Shared& shared, const Task& task,
            const std::vector<std::pair<std::size_t, SearchOutcome>>& results) {
  std::lock_guard lock(shared.mutex);
  const SuitePosition& position = *task.position;
  bool changed = false;
  PositionResult& result = shared.results.emplace_back(
      PositionResult{position.number, position.label(), position.fen, {}});
  for (const auto& [engine, outcome] : results) {
    const std::string& name = shared.setup.names[engine];
    EngineResult& done = result.engines.emplace_back();
    done.engine = engine;
    if (outcome.kind != SearchOutcome::solved && outcome.kind != SearchOutcome::unsolved) {
      shared.failed = true;
      shared.progress.unrun(engine);
      if (outcome.kind == SearchOutcome::not_run) continue;  // said once, when given up
      std::string after = outcome.failure.empty() ? "; engine restarted" : "; " + outcome.failure;
      shared.progress.warn("engine '" + name + "' " + what_happened(outcome) + " position " +
                           std::to_string(position.number) + " (" + position.label() +
                           "): no entry" + after);
      continue;
    }
    if (!outcome.warning.empty())
      shared.progress.warn("engine '" + name + "' " + outcome.warning + " on position " +
                           std::to_string(position.number) + " (" + position.label() +
                           "): a failure");
    shared.progress.record(engine, outcome.kind == SearchOutcome::solved, outcome.seconds);
    GameTags tags{shared.setup.event, position.label(shared.setup.label_solution), position.fen};
    std::string before;
    if (!shared.doc.has_position(position.fen)) {
      auto later = shared.added.upper_bound(position.number);
      if (later != shared.added.end()) before = later->second;
      shared.added.emplace(position.number, position.fen);
    }
    done.ran = true;
    done.entry = entry_text(name, outcome, shared.setup.time_text);
    done.solved = outcome.kind == SearchOutcome::solved;
    done.seconds = outcome.seconds;
    shared.doc.set_entry(tags, done.entry, before);
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

SearchOutcome run_one(Shared& shared, Engine& session, std::size_t engine,
                      const SuitePosition& position) {
  SearchOutcome outcome;
  if (given_up(shared, engine)) {
    outcome.kind = SearchOutcome::not_run;
  } else if (!session.usable() && !start(shared, session, engine, outcome.failure)) {
    outcome.kind = SearchOutcome::not_started;
  } else {
    outcome = session.search(position, shared.setup.time_ms);
    // A fresh engine for the next position, at once, so that the warning
    // can say whether it came back.
    if (outcome.kind == SearchOutcome::crashed || outcome.kind == SearchOutcome::hung)
      start(shared, session, engine, outcome.failure);
  }
  return outcome;
}

void work(Shared& shared, std::vector<std::unique_ptr<Engine>>& sessions, std::size_t worker) {
  WorkerWatch watch(shared.progress, worker);
  for (auto& session : sessions) {
    session->set_hold(static_cast<double>(shared.setup.hold_ms));
    session->set_watch(&watch);
  }
  while (!shared.abort) {
    std::size_t index = shared.next++;
    if (index >= shared.tasks.size()) break;
    const Task& task = shared.tasks[index];
    std::vector<std::pair<std::size_t, SearchOutcome>> results;
    for (std::size_t engine : task.engines) {
      shared.progress.searching(worker, static_cast<int>(index + 1), task.position->label(),
                                engine);
      results.emplace_back(engine, run_one(shared, *sessions[engine], engine, *task.position));
    }
    record(shared, task, results);
  }
  shared.progress.idle(worker);
  for (auto& session : sessions) session->set_watch(nullptr);
}

}  // namespace

int run_tasks(const RunSetup& setup, const std::vector<Task>& tasks,
              std::vector<std::vector<std::unique_ptr<Engine>>>& workers, ResultDoc& doc,
              Progress& progress, std::vector<PositionResult>& results) {
  Shared shared{setup, tasks, doc, progress, {}, {}, {}, false, {}, {}, {}};
  shared.failed_starts.assign(setup.names.size(), 0);
  if (workers.size() == 1) {
    work(shared, workers[0], 0);
  } else {
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < workers.size(); ++k)
      threads.emplace_back(work, std::ref(shared), std::ref(workers[k]), k);
    for (std::thread& thread : threads) thread.join();
  }
  std::sort(shared.results.begin(), shared.results.end(),
            [](const PositionResult& a, const PositionResult& b) { return a.number < b.number; });
  for (PositionResult& result : shared.results) results.push_back(std::move(result));
  return shared.failed ? 1 : 0;
}

}  // namespace tarvolin::solve
