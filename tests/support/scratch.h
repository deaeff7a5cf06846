// Test support: a fresh working directory per test, and ways to run a whole
// Tarvolin run in it, in-process or through the real binary.
#pragma once

#include <cstdio>
#include <string>

namespace tarvolin::testing {

class ScratchDir {
 public:
  ScratchDir();   // creates a new folder in the temporary one and enters it
  ~ScratchDir();  // goes back and removes it with everything inside
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  void write(const std::string& name, const std::string& content) const;
  bool exists(const std::string& name) const;
  std::string read(const std::string& name) const;

 private:
  std::string path_;
  std::string previous_;
};

struct RunResult {
  std::string console;
  int exit_code;
};

// run() in this process with the given standard input text, in the current
// working directory.
RunResult run_in_process(const std::string& input);

// POSIX only (posix_processes.cpp), like cap_address_space: the tarvolin
// binary in the current working directory with the given
// standard input text (or with standard input closed when input_closed),
// after the shell commands in limits ("ulimit -v 40960 && ", say).
RunResult run_binary(const std::string& input, bool input_closed = false,
                     const std::string& limits = "");

// The lines every run opens with.
inline const std::string BANNER =
    "Tarvolin, Version 1.0.4\nRating chess programs by their solution times\n"
    "---------------------------------\n";

// Replaces the number in "CPU time = N sec" by 0, so transcripts compare
// whatever the clock did.
std::string without_timing(std::string console);

// Reads a whole file; empty when it does not exist.
std::string read_file(const std::string& path);

// The five reports of a complete run, in the order the run writes them.
extern const char* const REPORT_NAMES[5];

// A temporary file holding text, positioned at its start.
std::FILE* file_with(const std::string& text);

// Everything in a temporary file, read from its start.
std::string read_stream(std::FILE* file);

// POSIX only: caps this process's address space at what it maps now plus extra bytes;
// false when that fails.
bool cap_address_space(std::size_t extra);

// A new empty file for reading and writing, removed when closed, as
// std::tmpfile() gives one; nullptr when none can be made.
std::FILE* temporary_file();

// The null device, open for writing: a console nobody reads.
std::FILE* null_console();

// The text with Windows line ends.
std::string with_crlf(const std::string& text);

}  // namespace tarvolin::testing
