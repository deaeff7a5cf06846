#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "chess/fen.h"
#include "chess/legality.h"
#include "chess/movegen.h"

namespace tarvolin::chess {
namespace {

// The published perft positions (Kiwipete and position 4 also with the
// colours swapped, so that black's castling is counted as white's is),
// standard and Chess960, and counts, depth 1 upwards, as deep as runs in a few seconds under the
// sanitizers.
const std::pair<const char*, std::vector<std::uint64_t>> PERFT[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {48, 2039, 97862}},
    {"r3k2r/pppbbppp/2n2q1P/1P2p3/3pn3/BN2PNP1/P1PPQPB1/R3K2R b KQkq - 0 1", {48, 2039, 97862}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238}},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", {6, 264, 9467}},
    {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", {6, 264, 9467}},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", {44, 1486, 62379}},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", {46, 2079, 89890}},
    // Chess960, the first the standard start with its castling as file letters.
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha - 0 1", {20, 400, 8902}},
    {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", {21, 528, 12189, 326672}},
    {"2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9", {21, 807, 18002, 667366}},
    {"qbbnnrkr/2pp2pp/p7/1p2pp2/8/P3PP2/1PPP1KPP/QBBNNR1R w hf - 0 9", {22, 593, 13440}},
};

TEST(ChessPerft, PublishedCounts) {
  for (const auto& [fen, counts] : PERFT) {
    SCOPED_TRACE(fen);
    std::string why;
    std::optional<Position> position = read_fen(fen, why);
    ASSERT_TRUE(position) << why;
    EXPECT_EQ(illegal_reason(*position), "");
    EXPECT_EQ(write_fen(*position), fen);
    const Position before = *position;
    for (std::size_t depth = 1; depth <= counts.size(); ++depth)
      EXPECT_EQ(perft(*position, static_cast<int>(depth)), counts[depth - 1]) << depth;
    // Every move made was taken back whole.
    EXPECT_TRUE(same_position(*position, before));
    EXPECT_EQ(write_fen(*position), fen);
  }
}

}  // namespace
}  // namespace tarvolin::chess
