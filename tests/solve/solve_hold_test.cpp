#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Per FEN the "stop" lines the engine was sent during its search of it.
std::map<std::string, int> stops(const std::string& log) {
  std::map<std::string, int> count;
  std::ifstream in(log);
  std::string fen;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("position fen ", 0) == 0) fen = line.substr(13);
    if (line == "stop") ++count[fen];
  }
  return count;
}

// Limit 1 s, hold 0.5 s; Ra8+ (a1a8) is right everywhere. "wait-stop"
// stands for an engine that would search on: without an early stop it
// would hang, so an entry there shows that the stop came.
TEST(SolveHold, StopsOnlyOnceTheRightMoveHeld) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(4));
  // Expected entry and whether the engine was stopped.
  const std::tuple<std::string, const char*, int> cases[] = {
      // Right, then wrong within the hold: runs to the limit.
      {"info time 100 pv a1a8\nsleep 100\ninfo time 200 pv a1a2\nsleep 900\nbestmove a1a2", ">1s",
       0},
      // Held while silent, then would change: stopped, solved at 0.1 s.
      {"info time 100 pv a1a8\nwait-stop\ninfo time 950 pv a1a2\nbestmove a1a8", "0.100s", 1},
      // Stopped, but the engine then plays another move: judged on all it said.
      {"info time 100 pv a1a8\nwait-stop\nbestmove a1a2", ">1s", 1},
      // Ends before the hold: as without it.
      {"info time 100 pv a1a8\nbestmove a1a8", "0.100s", 0},
  };
  std::string script = "name H\nlog h.log\n";
  int k = 0;
  for (const auto& [search, entry, stopped] : cases)
    script += "position " + rook_fen(k++) + "\n" + search + "\n";
  Finished run =
      run_solve("--epd s.epd " + fake_engine("h", script) + " --time 1 --hold 0.5 --out o.pgn");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  auto comments = result_comments(dir.read("o.pgn"));
  std::map<std::string, int> stopped_on = stops("h.log");
  k = 0;
  for (const auto& [search, entry, stopped] : cases) {
    std::string fen = rook_fen(k++);
    EXPECT_EQ(comments[fen], std::string("{'H' ") + entry + "}") << search;
    EXPECT_EQ(stopped_on[fen], stopped) << search;
  }
}

// xboard: the thinking line's centiseconds count; "?" stops the search.
TEST(SolveHold, XboardEngineToldToMoveNow) {
  ScratchDir dir;
  dir.write("s.epd", rook_suite(1));
  std::string script =
      "log x.log\nposition protover\nfeature setboard=1 done=1\nposition 7k/\n"
      "1 10 20 100 Ra8+\n2 10 40 900 Ra8+ Kg7\nwait-stop\nmove a1a8\n";
  Finished run = run_solve("--epd s.epd " + fake_engine("x", script) +
                           " proto=xboard name=X --time 2 --hold 0.2 --out o.pgn");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(result_comments(dir.read("o.pgn"))[rook_fen(0)], "{'X' 0.200s}");
  EXPECT_EQ(count_lines("x.log", "?"), 1);
}

}  // namespace
}  // namespace tarvolin::solve::testing
