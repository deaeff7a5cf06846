#include "solve/solve_command.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <thread>

#include "solve/atomic_file.h"
#include "solve/merge_files.h"
#include "solve/options.h"
#include "solve/run_suite.h"
#include "solve/suite_file.h"

namespace tarvolin::solve {

namespace {

int fail(const std::string& message, int code) {
  std::cerr << "tarvolin-solve: " << message << "\n";
  return code;
}

// Starts one session per engine; the first set also fixes the names.
bool open_sessions(const std::vector<EngineSetup>& setups,
                   std::vector<std::unique_ptr<EngineSession>>& sessions, std::string& why) {
  for (const EngineSetup& setup : setups) {
    sessions.push_back(std::make_unique<EngineSession>(setup));
    if (!sessions.back()->open(why)) return false;
  }
  return true;
}

bool settle_names(std::vector<std::unique_ptr<EngineSession>>& sessions, std::size_t time_width,
                  std::vector<std::string>& names, std::string& why) {
  std::set<std::string> keys;
  for (auto& session : sessions) {
    std::string name = session->setup().name;
    if (name.empty()) name = session->id_name();
    if (name.empty()) name = std::filesystem::path(session->setup().command).filename();
    if (!check_engine_name(name, time_width, why)) return false;
    if (!keys.insert(name_key(name)).second)
      return why = "two engines are named '" + name + "' (blanks do not count)", false;
    session->set_name(name);
    names.push_back(name);
  }
  return true;
}

std::vector<Task> plan(const std::vector<SuitePosition>& suite, const Options& options,
                       const std::vector<std::string>& names, const ResultDoc& doc) {
  std::vector<Task> tasks;
  for (const SuitePosition& position : suite) {
    if ((position.number - options.shard) % options.shards != 0) continue;
    Task task{&position, {}};
    for (std::size_t engine = 0; engine < names.size(); ++engine)
      if (options.rerun || !doc.has_entry(position.fen, name_key(names[engine])))
        task.engines.push_back(engine);
    if (!task.engines.empty()) tasks.push_back(std::move(task));
  }
  return tasks;
}

}  // namespace

int solve_command(int argc, char** argv) {
  Options options;
  if (int code = parse_options(argc, argv, options); code >= 0) return code;
  if (!options.merge.empty()) return merge_files(options.merge, options.epd);

  std::vector<SuitePosition> suite;
  std::string why;
  if (!load_suite(options.epd, suite, why)) return fail(why, 2);
  std::optional<std::string> old_text = read_file(options.out, why);
  if (!why.empty()) return fail(why, 2);
  std::filesystem::path folder = std::filesystem::path(options.out).parent_path();
  std::error_code error;
  if (!folder.empty() && !std::filesystem::is_directory(folder, error))
    return fail("the folder of " + options.out + " does not exist", 2);
  ResultDoc doc(old_text.value_or(""));

  unsigned cores = std::thread::hardware_concurrency();
  if (cores > 0 && static_cast<unsigned>(options.concurrency) > cores)
    std::cerr << "tarvolin-solve: warning: --concurrency " << options.concurrency << " exceeds the "
              << cores << " cores: engines will share them and search less in their time\n";

  std::vector<std::vector<std::unique_ptr<EngineSession>>> workers(1);
  if (!open_sessions(options.engines, workers[0], why)) return fail(why, 2);
  // Room for the longest time an entry can show next to a name.
  char widest[64];
  std::snprintf(widest, sizeof widest, "%.3f", options.time_ms / 500.0 + 100);
  std::size_t time_width = std::max(options.time_text.size() + 2, std::string(widest).size() + 1);
  RunSetup run_setup{options.out,
                     std::filesystem::path(options.epd).stem(),
                     options.time_text,
                     options.time_ms,
                     {}};
  if (!settle_names(workers[0], time_width, run_setup.names, why)) return fail(why, 2);

  std::vector<Task> tasks = plan(suite, options, run_setup.names, doc);
  std::size_t worker_count = std::min<std::size_t>(options.concurrency, tasks.size());
  while (workers.size() < worker_count) {
    std::vector<EngineSetup> named;
    for (auto& session : workers[0]) named.push_back(session->setup());
    workers.emplace_back();
    if (!open_sessions(named, workers.back(), why)) return fail(why, 2);
  }
  Progress progress(run_setup.names, static_cast<int>(tasks.size()));
  int code = tasks.empty() ? 0 : run_tasks(run_setup, tasks, workers, doc, progress);
  progress.summary(std::cout);
  return code;
}

}  // namespace tarvolin::solve
