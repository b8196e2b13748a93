// Move generation against Debian's stockfish: equal leaf counts of the legal move tree on seeded
// random positions with castling, promotions and double steps beside enemy pawns, so that en
// passant is taken inside the tree. The FEN never names an en-passant square: a task cannot
// start with that capture.
#include "tests/reference/chess_rules.h"
#include "tests/reference/random_positions.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

struct Count {
  std::string fen;
  int depth;
};

// Stockfish's leaf count of each position, in order: one run reads every "go perft" from a
// file and answers them one after the other. Empty when stockfish is not installed.
std::vector<std::uint64_t> StockfishCounts(const std::vector<Count> &counts) {
  const std::string program = "/usr/games/stockfish"; // Debian keeps games off a build's PATH
  const std::string script = ::testing::TempDir() + "perft_" + std::to_string(getpid()) + ".txt";
  std::vector<std::uint64_t> leaves;
  if (!std::filesystem::exists(program))
    return leaves;
  std::ofstream commands(script);
  for (const Count &c : counts)
    commands << "position fen " << c.fen << "\ngo perft " << c.depth << "\n";
  commands.close();
  FILE *answers = popen((program + " < " + script).c_str(), "r");
  constexpr char kTotal[] = "Nodes searched: ";
  for (char line[256]; answers != nullptr && std::fgets(line, sizeof line, answers);) {
    if (std::strncmp(line, kTotal, sizeof kTotal - 1) == 0)
      leaves.push_back(std::strtoull(line + sizeof kTotal - 1, nullptr, 10));
  }
  if (answers != nullptr)
    pclose(answers);
  std::filesystem::remove(script);
  return leaves;
}

struct Batch {
  const char *name;
  std::uint64_t seed;
  int positions;
  int firstDepth; // the positions take the depths from first to last in turn
  int lastDepth;
  bool reference; // count with the reference rules instead of the engine
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
  const Batch &batch = GetParam();
  std::mt19937_64 random(batch.seed);
  std::vector<Count> counts;
  while (static_cast<int>(counts.size()) < batch.positions) {
    const std::string fen = reference::RandomTaskFen(random, 3 + static_cast<int>(random() % 26));
    const reference::Position position = reference::FromFen(fen);
    // Stockfish refuses a position whose side not to move stands in check.
    if (!reference::KingAttacked(position, !position.whiteToMove))
      counts.push_back({fen, batch.firstDepth + static_cast<int>(counts.size()) %
                                                    (batch.lastDepth - batch.firstDepth + 1)});
  }
  const std::vector<std::uint64_t> expected = StockfishCounts(counts);
  if (expected.empty())
    GTEST_SKIP() << "stockfish is not installed (scripts/setup installs it)";
  ASSERT_EQ(expected.size(), counts.size()) << "stockfish stopped answering";
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const Count &c = counts[i];
    ASSERT_EQ(batch.reference ? reference::Perft(reference::FromFen(c.fen), c.depth)
                              : testing_support::PerftOf(c.fen, c.depth),
              expected[i])
        << "\"" << c.fen << "\" depth " << c.depth;
  }
}

INSTANTIATE_TEST_SUITE_P(RandomPositions, StockfishPerft, ::testing::ValuesIn(kBatches),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
