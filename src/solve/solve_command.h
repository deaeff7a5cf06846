// The whole tool: options, suite check, engines, the run and its summary;
// or the merge of result files.
#pragma once

namespace tarvolin::solve {

// Returns the exit code: 0 all done, 1 some positions could not be run or
// the file could not be written, 2 bad usage or bad input.
int solve_command(int argc, char** argv);

}  // namespace tarvolin::solve
