#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

struct PerftCase {
  const char *name;
  const char *fen;
  int depth;
  std::uint64_t leaves;
  friend void PrintTo(const PerftCase &c, std::ostream *os) { *os << c.fen; }
};

// Published figures; positions that need en passant on the first move are left out, since a
// task never starts with one.
const PerftCase kCases[] = {
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
    {"position3", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 6, 11030083},
    {"position4", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"position5", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
    // Martin Sedlak's set of special cases.
    {"illegalEnPassant1", "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", 6, 1134888},
    {"illegalEnPassant2", "8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1", 6, 1015133},
};

class Perft : public ::testing::TestWithParam<PerftCase> {};

TEST_P(Perft, MatchesPublishedLeafCount) {
  const PerftCase &c = GetParam();
  EXPECT_EQ(testing_support::PerftOf(c.fen, c.depth), c.leaves);
}

INSTANTIATE_TEST_SUITE_P(PublishedPositions, Perft, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
