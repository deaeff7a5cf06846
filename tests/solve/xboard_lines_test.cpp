#include "solve/xboard_lines.h"

#include <gtest/gtest.h>

#include <tuple>

#include "chess/fen.h"

namespace tarvolin::solve {
namespace {

const char* const WAC1 = "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1";
const char* const CASTLE = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";

TEST(XboardLines, ThinkingLinesInEachNotationAndMateScore) {
  // Position, line, first move ("-": not read), time in ms, moves to mate (0: none).
  const std::tuple<const char*, const char*, const char*, long long, int> cases[] = {
      {WAC1, "6 99997 12 62215 1. Qg6 fxg6 2. Nxg6#", "g3g6", 120, 2},  // 100000 less 3 plies
      {WAC1, "  3  29997     1     5385  Qg3-g6             ", "g3g6", 10, 2},
      {WAC1, "2 +9997 1 4696 Qg6 fxg6 Nxg6#", "g3g6", 10, 2},
      {WAC1, " 3  999996     4     1832  Qg6 Qf8 Qh7#", "g3g6", 40, 2},  // 4 plies: 2 moves
      {WAC1, "9 100003 50 1000 g3g6", "g3g6", 500, 3},
      {WAC1, "9 -100002 50 1000 g3g6", "g3g6", 500, -2},
      {WAC1, "5 -31996 7 900 Qg6", "g3g6", 70, -2},
      {WAC1, "5 32762 7 900 Qg6", "g3g6", 70, 3},
      {WAC1, "5 9700 7 900 Qg6", "g3g6", 70, 0},
      {WAC1, "4 -204 4 25906 (+) 1. Nh5 Nxe5", "f6h5", 40, 0},
      {WAC1, "7 150 7 900 12 3400 0\tNe5xf7 Kg8", "e5f7", 70, 0},  // seldepth nps tbhits
      {CASTLE, "4 20 3 77 O-O", "e1h1", 30, 0},
      {CASTLE, "4 20 3 77 1. ... e1c1", "e1a1", 30, 0},
      {WAC1, "1 -112 0 12 Qa8", "-", 0, 0},  // no legal move
      {WAC1, "tellics whisper depth=4; eval=+299.97", "-", 0, 0},
      {WAC1, "4 20 x 77 Qg6", "-", 0, 0},
      {WAC1, "4 20 3 77", "-", 0, 0},
      {WAC1, "4 -9223372036854775808 3 77 Qg6", "g3g6", 30, 0},
  };
  for (const auto& [fen, line, move, ms, mate] : cases) {
    std::string why;
    chess::Position position = chess::read_fen(fen, why).value();
    std::optional<PvReport> pv = read_thinking_line(line, position, 5.0);
    EXPECT_EQ(pv ? pv->first_move : "-", move) << line;
    if (!pv) continue;
    EXPECT_EQ(pv->time_ms.value_or(-1), ms) << line;
    EXPECT_EQ(pv->mate.value_or(0), mate) << line;
    EXPECT_EQ(pv->wall_ms, 5.0) << line;
  }
}

TEST(XboardLines, FeaturesWithQuotedValues) {
  using Features = std::vector<std::pair<std::string, std::string>>;
  const std::pair<const char*, Features> cases[] = {
      {"feature myname=\"Big Engine 2\" setboard=1 option=\"Hash -spin 64 1 1024\" done=0",
       {{"myname", "Big Engine 2"},
        {"setboard", "1"},
        {"option", "Hash -spin 64 1 1024"},
        {"done", "0"}}},
      {"feature ping=1 nonsense san=0", {{"ping", "1"}}},
      {"feature variants=\"normal,fischerandom", {{"variants", "normal,fischerandom"}}},
      {"featured ping=1", {}},
      {"feature", {}},
  };
  for (const auto& [line, expected] : cases) {
    Features got;
    for (const Feature& feature : read_features(line))
      got.emplace_back(feature.name, feature.value);
    EXPECT_EQ(got, expected) << line;
  }
}

}  // namespace
}  // namespace tarvolin::solve
