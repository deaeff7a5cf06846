#include "solve/solve_command.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <thread>

#include "platform/terminal.h"
#include "solve/atomic_file.h"
#include "solve/file_lock.h"
#include "solve/merge_files.h"
#include "solve/options.h"
#include "solve/plan_run.h"
#include "solve/result_text_check.h"
#include "solve/run_suite.h"
#include "solve/suite_file.h"
#include "solve/summary_json.h"

namespace tarvolin::solve {

namespace {

// Starts one session per engine; the first set also fixes the names.
bool open_sessions(const std::vector<EngineSetup>& setups,
                   std::vector<std::unique_ptr<Engine>>& sessions, std::string& why) {
  for (const EngineSetup& setup : setups) {
    sessions.push_back(make_engine(setup));
    if (!sessions.back()->open(why)) return false;
  }
  return true;
}

bool settle_names(std::vector<std::unique_ptr<Engine>>& sessions, std::size_t time_width,
                  std::vector<std::string>& names, std::string& why) {
  std::set<std::string> keys;
  for (auto& session : sessions) {
    std::string name = session->setup().name;
    if (name.empty()) name = session->id_name();
    if (name.empty()) name = std::filesystem::path(session->setup().command).filename().string();
    if (!check_engine_name(name, time_width, why)) return false;
    if (!keys.insert(name_key(name)).second)
      return why = "two engines are named '" + name + "' (blanks do not count)", false;
    session->set_name(name);
    names.push_back(name);
  }
  return true;
}

// The notes after the table: what the file kept that a longer limit might
// change, and a run that had nothing to do.
void note_kept(const RunPlan& plan, const Options& options, const std::vector<std::string>& names,
               Progress& progress) {
  for (std::size_t engine = 0; engine < names.size(); ++engine) {
    const KeptEntries& kept = plan.kept[engine];
    progress.kept(engine, kept.entries);
    if (kept.shorter > 0)
      progress.note(names[engine] + ": " + std::to_string(kept.shorter) +
                    " failures kept from the file had a shorter limit than " + options.time_text +
                    "s (down to " + kept.lowest_text + "s); --rerun runs every position again");
  }
  if (plan.tasks.empty())
    progress.note(
        "nothing to run: every engine has its entry on every position of this run; --rerun runs "
        "them again");
}

// A shard past the suite's end still leaves its result file, so that a
// merge of all shards finds every file it names.
int empty_shard(const Options& options, std::size_t positions, bool out_exists) {
  std::string why;
  if (!out_exists && !replace_file(options.out, "", why)) return fail(why, 1);
  std::cerr << "tarvolin-solve: shard " << options.shard << "/" << options.shards
            << " holds none of the " << positions << " positions of " << options.epd << ": "
            << options.out << (out_exists ? " stays as it was" : " written empty") << "\n";
  return 0;
}

}  // namespace

int solve_command(int argc, char** argv) {
  Options options;
  if (int code = parse_options(argc, argv, options); code >= 0) return code;
  std::string why;
  if (!options.merge.empty()) {
    std::optional<FileLock> lock = FileLock::take(options.merge[0], why);
    return lock ? merge_files(options.merge, options.epd) : fail(why, 2);
  }

  std::vector<SuitePosition> suite;
  if (!load_suite(options.epd, suite, why)) return fail(why, 2);
  std::filesystem::path folder = std::filesystem::path(options.out).parent_path();
  std::error_code error;
  if (!folder.empty() && !std::filesystem::is_directory(folder, error))
    return fail("the folder of " + options.out + " does not exist", 2);
  // Taken before the file is read, so that no other run changes it between
  // our reading and our writing; and before any engine starts, so that an
  // unwritable folder costs no engine time.
  std::optional<FileLock> lock = FileLock::take(options.out, why);
  if (!lock) return fail(why, 2);
  std::optional<std::string> old_text = read_file(options.out, why);
  if (!why.empty()) return fail(why, 2);
  // Extending a file that is none (a suite or a binary named by mistake)
  // would destroy it.
  if (old_text && !is_result_text(*old_text, why))
    return fail(options.out + " is not a result file: " + why, 2);
  if (suite.size() < static_cast<std::size_t>(options.shard))
    return empty_shard(options, suite.size(), old_text.has_value());
  ResultDoc doc(old_text.value_or(""));

  unsigned cores = std::thread::hardware_concurrency();
  if (cores > 0 && static_cast<unsigned>(options.concurrency) > cores)
    std::cerr << "tarvolin-solve: warning: --concurrency " << options.concurrency << " exceeds the "
              << cores << " cores: engines will share them and search less in their time\n";

  std::vector<std::vector<std::unique_ptr<Engine>>> workers(1);
  if (!open_sessions(options.engines, workers[0], why)) return fail(why, 2);
  // Room for the longest time an entry can show next to a name.
  char widest[64];
  std::snprintf(widest, sizeof widest, "%.3f", options.time_ms / 500.0 + 100);
  std::size_t time_width = std::max(options.time_text.size() + 2, std::string(widest).size() + 1);
  RunSetup run_setup{options.out,           std::filesystem::path(options.epd).stem().string(),
                     options.time_text,     options.time_ms,
                     options.hold_ms,       {},
                     options.label_solution};
  if (!settle_names(workers[0], time_width, run_setup.names, why)) return fail(why, 2);

  RunPlan plan = plan_run(suite, options, run_setup.names, doc);
  std::vector<Task>& tasks = plan.tasks;
  std::vector<bool> plays;
  for (auto& session : workers[0]) plays.push_back(session->plays_chess960());
  std::vector<int> left_out = leave_out_chess960(plan, plays);
  std::size_t worker_count = std::min<std::size_t>(options.concurrency, tasks.size());
  while (workers.size() < worker_count) {
    std::vector<EngineSetup> named;
    for (auto& session : workers[0]) named.push_back(session->setup());
    workers.emplace_back();
    if (!open_sessions(named, workers.back(), why)) return fail(why, 2);
  }
  Progress progress(run_setup.names, static_cast<int>(tasks.size()), platform::error_is_terminal(),
                    {worker_count, options.time_text, static_cast<double>(options.time_ms) / 1000});
  for (std::size_t engine = 0; engine < left_out.size(); ++engine)
    if (left_out[engine] > 0)
      progress.warn("engine '" + run_setup.names[engine] + "' does not play Chess960: its " +
                    std::to_string(left_out[engine]) + " Chess960 positions are left out");
  note_kept(plan, options, run_setup.names, progress);
  std::vector<PositionResult> results;
  int code = tasks.empty() ? 0 : run_tasks(run_setup, tasks, workers, doc, progress, results);
  progress.summary(std::cout);
  if (!options.summary_json.empty() &&
      !replace_file(options.summary_json, summary_json(progress.rows(), results), why))
    return fail(why, 1);
  return code;
}

}  // namespace tarvolin::solve
