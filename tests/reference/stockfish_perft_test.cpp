// Move generation against Debian's stockfish: equal leaf counts of the legal move tree on seeded
// random positions with castling, promotions and double steps beside enemy pawns, so that en
// passant is taken inside the tree. The FEN never names an en-passant square: a task cannot
// start with that capture.
#include "tests/reference/chess_rules.h"
#include "tests/reference/random_positions.h"
#include "tests/reference/stockfish_process.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

// A position stockfish accepts: the side not to move may not stand in check.
std::string NextLegalFen(std::mt19937_64 &random) {
  for (;;) {
    const int men = 3 + static_cast<int>(random() % 26);
    const std::string fen = reference::RandomTaskFen(random, men);
    const reference::Position position = reference::FromFen(fen);
    if (!reference::KingAttacked(position, !position.whiteToMove))
      return fen;
  }
}

struct Batch {
  const char *name;
  std::uint64_t seed;
  int positions;
  int firstDepth; // the positions take the depths from first to last in turn
  int lastDepth;
  bool reference; // count with the reference rules instead of the engine
  friend void PrintTo(const Batch &batch, std::ostream *os) { *os << batch.name; }
};

const Batch kBatches[] = {
    {"Engine_A", 2601, 600, 3, 4, false},
    {"Engine_B", 2602, 600, 3, 4, false},
    {"Engine_C", 2603, 600, 3, 4, false},
    {"Engine_D", 2604, 600, 3, 4, false},
    // The reference's own rules, which the solver comparison rests on.
    {"ReferenceRules", 2611, 1000, 3, 3, true},
};

class StockfishPerft : public ::testing::TestWithParam<Batch> {};

TEST_P(StockfishPerft, LeafCountsAreEqual) {
  const std::string program = reference::StockfishProcess::Find();
  if (program.empty())
    GTEST_SKIP() << "stockfish is not installed (scripts/setup installs it)";
  reference::StockfishProcess stockfish(program);
  ASSERT_TRUE(stockfish.Running()) << program << " did not answer \"uci\"";
  const Batch &batch = GetParam();
  std::mt19937_64 random(batch.seed);
  std::uint64_t leaves = 0;
  for (int i = 0; i < batch.positions; ++i) {
    const std::string fen = NextLegalFen(random);
    const int depth = batch.firstDepth + i % (batch.lastDepth - batch.firstDepth + 1);
    const auto expected = stockfish.Perft(fen, depth);
    ASSERT_TRUE(expected.has_value())
        << "stockfish gave no count for \"" << fen << "\" depth " << depth;
    const std::uint64_t counted = batch.reference ? reference::Perft(reference::FromFen(fen), depth)
                                                  : testing_support::PerftOf(fen, depth);
    ASSERT_EQ(counted, *expected) << "\"" << fen << "\" depth " << depth;
    leaves += counted;
  }
  std::cout << batch.positions << " positions, " << leaves << " leaves\n";
}

INSTANTIATE_TEST_SUITE_P(RandomPositions, StockfishPerft, ::testing::ValuesIn(kBatches),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
