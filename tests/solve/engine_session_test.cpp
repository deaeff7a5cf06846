#include "solve/engine_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

const char* const OFFERS = "option name UCI_Chess960 type check default false\n";

// Three positions: standard, then two marked Chess960, then standard again.
// The castling one is answered with the king taking its rook.
const char* const SUITE =
    "7k/8/8/8/8/8/8/RK6 w - - bm Ra8+;\n"
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O;\n"
    "7k/8/8/8/8/8/8/R1K5 w - - bm Ra8+;\n"
    "7k/8/8/8/8/8/8/R2K4 w - - bm Ra8+;\n";
const char* const SEARCHES =
    "position r3k2r\ninfo depth 1 time 20 pv e1h1\nbestmove e1h1\n"
    "position 7k\ninfo depth 1 time 10 pv a1a8\nbestmove a1a8\n";

std::vector<SuitePosition> suite() {
  std::istringstream in(SUITE);
  std::vector<SuitePosition> positions;
  std::string error;
  EXPECT_TRUE(read_suite(in, positions, error)) << error;
  positions.resize(4);
  positions[1].chess960 = positions[2].chess960 = true;
  return positions;
}

// The engine's log: its setoption and position commands, in order.
std::string exchange(const std::string& log) {
  std::ifstream in(log);
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("setoption", 0) == 0 || line.rfind("position", 0) == 0) kept += line + "\n";
  return kept;
}

std::unique_ptr<EngineSession> opened(const std::string& script) {
  std::ofstream("engine.script") << script;
  auto session =
      std::make_unique<EngineSession>(EngineSetup{TARVOLIN_FAKE_ENGINE, {"engine.script"}, "", {}});
  std::string why;
  EXPECT_TRUE(session->open(why)) << why;
  return session;
}

TEST(EngineSession, Chess960OptionSentOnlyWhenThePositionChangesIt) {
  ScratchDir dir;
  std::vector<SuitePosition> positions = suite();
  for (bool offers : {true, false}) {
    std::remove("engine.log");
    auto session = opened(std::string(offers ? OFFERS : "") + "log engine.log\n" + SEARCHES);
    EXPECT_EQ(session->plays_chess960(), offers);
    for (const SuitePosition& position : positions) {
      SearchOutcome outcome = session->search(position, 2000);
      EXPECT_EQ(outcome.kind, SearchOutcome::solved) << position.fen;
    }
    std::string on = offers ? "setoption name UCI_Chess960 value true\n" : "";
    std::string off = offers ? "setoption name UCI_Chess960 value false\n" : "";
    EXPECT_EQ(exchange("engine.log"), "position fen " + positions[0].fen + "\n" + on +
                                          "position fen " + positions[1].fen + "\nposition fen " +
                                          positions[2].fen + "\n" + off + "position fen " +
                                          positions[3].fen + "\n");
  }
}

TEST(EngineSession, MatePositionTimedFromTheMateScore) {
  ScratchDir dir;
  SuitePosition position = suite()[0];
  position.mate_in = 2;
  auto session = opened(
      "position 7k\ninfo depth 1 time 100 score cp 500 pv a1a8\n"
      "info depth 2 time 300 score mate 2 pv a1a8\nbestmove a1a8\n");
  SearchOutcome outcome = session->search(position, 2000);
  ASSERT_EQ(outcome.kind, SearchOutcome::solved);
  EXPECT_DOUBLE_EQ(outcome.seconds, 0.3);
}

}  // namespace
}  // namespace tarvolin::solve::testing
