// The benchmark's side of a timed run: files in and out, and one side of a
// case run as a child process answering the dialogue through a pipe.
#pragma once

#include <string>
#include <vector>

namespace tarvolin::bench {

bool write_file(const std::string& path, const std::string& text);
std::string read_file(const std::string& path);

struct Measure {
  double seconds = 0.0;
  long peak_kb = 0;
  int status = -1;
  std::string console;  // the child's standard output
};

// Runs binary in directory, answering the dialogue with input; wall-clock
// time from fork to reaping, peak resident memory from wait4.
Measure run_child(const std::string& binary, const std::string& directory,
                  const std::string& input);

// The best of runs runs: the shortest time, the largest peak memory, and
// the console and status of the last run.
Measure best_of(int runs, const std::string& binary, const std::string& directory,
                const std::string& input);

// "identical", or which reports and whether the console (its timing line
// aside) differ between the two directories.
std::string compare_sides(const std::string& plain_dir, const Measure& plain,
                          const std::string& program_dir, const Measure& program);

}  // namespace tarvolin::bench
