#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "matches/build_matches.h"
#include "rating/error_margins.h"
#include "run/run.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

// What the hooks saw, in order; plain function pointers cannot capture.
std::vector<std::string> seen;

void note_phase(const char* phase) { seen.emplace_back(phase); }
void noted_build(Tables& t) {
  seen.emplace_back("build hook");
  build_matches(t);
}
void noted_margins(Tables& t) {
  seen.emplace_back("margins hook");
  compute_error_margins(t);
}

TEST(RunHooks, PhasesEndInRunOrderAndTheHooksStandInForTheirPhases) {
  const std::string three_programs =
      "[Event \"e\"]\n[FEN \"a\"]\n{'A' 10s, 'B' 20s, 'C' >30s}\n"
      "[Event \"e\"]\n[FEN \"b\"]\n{'A' 40s, 'B' 5s, 'C' 8s}\n";
  struct Case {
    std::string file;
    int exit_code;
    std::vector<std::string> phases;
  };
  const Case cases[] = {
      {three_programs,
       0,
       {"reading", "offsets", "normalising", "build hook", "matches", "general.dat", "clusters",
        "cluster.dat", "ratings", "margins hook", "margins", "rating.dat+programs.dat",
        "positions.dat"}},
      {"[Event \"e\"]\n[FEN \"a\"]\n{'A' 10s}\n", 1, {"reading"}},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    dir.write("suite.pgn", c.file);
    RunHooks hooks{noted_build, noted_margins, note_phase};
    seen.clear();
    std::FILE* in = file_with("suite\n2600\n\n");
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(run(in, out, hooks), c.exit_code);
    EXPECT_EQ(seen, c.phases);
    std::fclose(in);
    std::fclose(out);
  }
  // The program's own hooks are its phases, without an observer.
  const RunHooks own = program_hooks();
  EXPECT_EQ(own.compute_error_margins, &compute_error_margins);
  EXPECT_EQ(own.phase_done, nullptr);
}

}  // namespace
}  // namespace tarvolin::testing
