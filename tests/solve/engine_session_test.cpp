#include "solve/engine_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "solve/solve_support.h"

namespace tarvolin::solve::testing {
namespace {

// Standard, Chess960 twice, standard again (the last one a mate in 2), each
// searched by an engine that offers UCI_Chess960 and by one that does not.
TEST(EngineSession, Chess960OptionSentWhenThePositionChangesIt) {
  ScratchDir dir;
  std::vector<SuitePosition> positions = suite_of(
      "7k/8/8/8/8/8/8/RK6 w - - bm Ra8+;\nr3k2r/8/8/8/8/8/8/R3K2R w KQkq - bm O-O;\n"
      "7k/8/8/8/8/8/8/R1K5 w - - bm Ra8+;\n7k/8/8/8/8/8/8/R2K4 w - - bm Ra8+;\n");
  ASSERT_EQ(positions.size(), 4u);
  std::string why;
  positions[1].chess960 = positions[2].chess960 = true;
  positions[3].mate_in = 2;
  const char* const searches =
      "log engine.log\nposition r3k2r\ninfo time 20 pv e1h1\nbestmove e1h1\nposition 7k\n"
      "info time 100 score cp 500 pv a1a8\ninfo time 300 score mate 2 pv a1a8\nbestmove a1a8\n";
  for (bool offers : {true, false}) {
    std::ofstream("engine.script")
        << (offers ? "option name UCI_Chess960 type check\n" : "") << searches;
    EngineSession session(
        EngineSetup{EngineSetup::Protocol::uci, TARVOLIN_FAKE_ENGINE, {"engine.script"}, "", {}});
    ASSERT_TRUE(session.open(why)) << why;
    EXPECT_EQ(session.plays_chess960(), offers);
    const double seconds[] = {0.1, 0.02, 0.1, 0.3};  // the castling answered as king takes rook
    for (std::size_t k = 0; k < positions.size(); ++k) {
      SearchOutcome outcome = session.search(positions[k], 2000);
      EXPECT_EQ(outcome.kind, SearchOutcome::solved) << k;
      EXPECT_DOUBLE_EQ(outcome.seconds, seconds[k]) << k;
    }
    std::ifstream log("engine.log");
    std::string sent, set = offers ? "setoption name UCI_Chess960 value " : "";
    for (std::string line; std::getline(log, line);)
      if (line.rfind("setoption", 0) == 0 || line.rfind("position", 0) == 0) sent += line + "\n";
    std::string expected =
        "position fen " + positions[0].fen + "\n" + (offers ? set + "true\n" : "") +
        "position fen " + positions[1].fen + "\nposition fen " + positions[2].fen + "\n" +
        (offers ? set + "false\n" : "") + "position fen " + positions[3].fen + "\n";
    EXPECT_EQ(sent, expected);
    std::remove("engine.log");
  }
}

}  // namespace
}  // namespace tarvolin::solve::testing
