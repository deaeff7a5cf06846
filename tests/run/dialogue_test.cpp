#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

const std::string PROMPTS = "\nName of pgn-file = \nStart Elo = ";

// Four programs on three positions. Position 1: three equal solutions, three
// drawn matches. Position 2: A and B equal again, one more draw. Position 3:
// A, B and D all failed, so every pair there is invalid and D has no match.
// Every score is 0.5, so the ratings stand still from the first iteration.
const std::string RUN_PGN =
    "[Event \"t\"]\n[FEN \"F1\"]\n{'A' 10s, 'B' 10s, 'C' 10s} *\n"
    "[Event \"t\"]\n[FEN \"F2\"]\n{'A' 20s, 'B' 20s} *\n"
    "[Event \"t\"]\n[FEN \"F3\"]\n{'A' >30s, 'B' >30s, 'D' >60s} *\n";

const std::string RUN_TRANSCRIPT =
    BANNER + PROMPTS +
    "\nReading run.pgn...\n(1) A\n(2) B\n(3) C\n(4) D\n4 programs\n3 positions\n"
    "\nCannot find 'Offset.pgn'\n4 matches\nAnalysing database structure... \n1 cluster(s)\n"
    "Calculating ELO ratings... 1 iterations\nCPU time = 0 sec\n\nReady!";

int occurrences(const std::string& report, const std::string& text) {
  int count = 0;
  for (auto at = report.find(text); at != report.npos; at = report.find(text, at + 1), ++count) {
  }
  return count;
}

// A file that cannot be opened stops before the start Elo; too few programs
// or positions stop after reading, before any report.
TEST(Dialogue, RunsThatStopEarly) {
  ScratchDir dir;
  dir.write("suite.pgn", RUN_PGN);
  dir.write("Offset.pgn", "[Event \"w\"]\n{'A' 1s}\n[Event \"o\"]\n{'A' 1s}\n");
  dir.write("one.pgn", "[Event \"t\"]\n[FEN \"F1\"]\n{'A' 5s}\n[Event \"t\"]\n[FEN \"F2\"]\n{}\n");
  dir.write("nofen.pgn", "[Event \"t\"]\n{'A' 5s, 'B' 6s}\n");
  dir.write("empty.pgn", "");
  const std::string unopenable = "\nName of pgn-file = \nFAILURE - Unable to open ";
  const std::string reading = PROMPTS + "\nReading ";
  const std::pair<std::string, std::string> cases[] = {
      {"missing\n2600\n\n", unopenable + "missing.pgn\n"},
      {"suite.pgn\n2600\n\n", unopenable + "suite.pgn.pgn\n"},  // the ending is always added
      {"\n2600\n\n", unopenable + ".pgn\n"},
      // From a Windows-made file: the carriage return is no part of the name.
      {"one\r\n2600\r\n\r\n",
       reading + "one.pgn...\n(1) A\n1 programs\n2 positions\n\nLess than 2 programs !"},
      {"nofen\n2600\n\n",
       reading + "nofen.pgn...\n(1) A\n(2) B\n2 programs\n0 positions\n\nLess than 1 position !"},
      // Neither programs nor positions: only the first complaint.
      {"empty\n2600\n\n",
       reading + "empty.pgn...\n0 programs\n0 positions\n\nLess than 2 programs !"},
  };
  for (const auto& [answers, tail] : cases) {
    RunResult result = run_in_process(answers);
    EXPECT_EQ(result.console, BANNER + tail);
    EXPECT_EQ(result.exit_code, 1) << answers;
  }
  for (const char* report : REPORT_NAMES) EXPECT_FALSE(dir.exists(report)) << report;
}

// Each answer runs the same database to the same transcript; only the start
// Elo differs. A, B and C stand at the centre, which is the start Elo; D is
// not rated.
TEST(Dialogue, CompleteRunAndStartEloAnswer) {
  ScratchDir dir;
  dir.write("run.pgn", RUN_PGN);
  const std::pair<std::string, std::string> cases[] = {
      {"run\n2600\n\n", "2600"},
      {"run", "2600"},         // input ends after the name: the closing read does not wait
      {"run\nabc\n", "2600"},  // letters leave the default
      // A number is read as such, fraction included, and only after blank lines.
      {"run\n\n\n  2450.7\n\n", "2451"},
  };
  for (const auto& [answers, elo] : cases) {
    RunResult result = run_in_process(answers);
    EXPECT_EQ(without_timing(result.console), RUN_TRANSCRIPT) << answers;
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_NE(dir.read("general.dat").find("\nStart Elo :   " + elo + "\n"), std::string::npos)
        << answers;
    EXPECT_EQ(occurrences(dir.read("rating.dat"), " : " + elo + "  "), 3) << answers;
  }
}

}  // namespace
}  // namespace tarvolin::testing
