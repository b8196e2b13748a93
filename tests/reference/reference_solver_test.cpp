// The engine against the reference solver, which shares none of its code: on seeded random
// positions each task must list the same solutions, in the order the engine tries its moves,
// and end with the same result.
#include "tests/reference/directmate.h"
#include "tests/reference/random_positions.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// What the compared tasks came to, so that a batch shows it tried every outcome.
struct Tally {
  std::array<int, 5> results{};
  int keysFound = 0;     // Mate tasks with at least one key
  int noKey = 0;         // Mate tasks that ran without a key
  int defencesFound = 0; // Defend tasks beyond depth 1 with at least one defence
  int allRefuted = 0;    // Defend tasks beyond depth 1 where every Black move runs into mate
};

::testing::AssertionResult SameAnswer(const std::string &fen, int depth, Tally &tally) {
  const reference::TaskAnswer expected = reference::SolveTask(reference::FromFen(fen), depth);
  std::vector<std::string> lines = expected.lines;
  if (expected.result == reference::kStalemate)
    lines.push_back(">> STALEMT");
  if (expected.result == reference::kOpponentInCheck)
    lines.push_back(">> CHECKMT");
  const testing_support::RecordingHost engine = testing_support::Solve(fen, depth);
  const std::vector<std::string> found = engine.Solutions();
  const int result = static_cast<int>(engine.result);
  ++tally.results.at(expected.result);
  if (expected.result == reference::kRan && fen.find(" w ") != std::string::npos)
    ++(expected.lines.empty() ? tally.noKey : tally.keysFound);
  else if (expected.result == reference::kRan && depth > 1)
    ++(expected.lines.empty() ? tally.allRefuted : tally.defencesFound);

  const auto failure = [&](const char *what) {
    return ::testing::AssertionFailure()
           << what << " for \"" << fen << "\" depth " << depth
           << "\n  engine:    " << ::testing::PrintToString(found) << " result " << result
           << "\n  reference: " << ::testing::PrintToString(lines) << " result " << expected.result;
  };
  if (Sorted(found) != Sorted(lines))
    return failure("different solutions");
  if (found != lines)
    return failure("solutions out of generation order");
  if (result != expected.result)
    return failure("different results");
  return ::testing::AssertionSuccess();
}

// Whether the task holds a mate: a Mate task with a key, a Defend task with a Black move that
// runs into mate.
bool HoldsAMate(const std::string &fen, int depth) {
  const reference::Position position = reference::FromFen(fen);
  const reference::TaskAnswer answer = reference::SolveTask(position, depth);
  if (answer.result != reference::kRan)
    return false;
  return position.whiteToMove ? !answer.lines.empty()
                              : answer.lines.size() < reference::LegalMoves(position).size();
}

// Every other position is the first draw that holds a mate in two: random positions seldom
// do, and a mate solver is not proven on positions without mates.
std::string NextFen(std::mt19937_64 &random, int maxMen, bool holdingAMate) {
  for (int draws = 0;; ++draws) {
    const int men = 3 + static_cast<int>(random() % static_cast<unsigned>(maxMen - 2));
    const std::string fen = reference::RandomTaskFen(random, men);
    if (!holdingAMate || draws == 200 || HoldsAMate(fen, 2))
      return fen;
  }
}

struct Batch {
  const char *name;
  std::uint64_t seed;
  int positions;
  int firstDepth;
  int lastDepth;
  int maxMen;
};

// Every position of a batch at each of its depths, and at depth 0, which must be refused.
const Batch kBatches[] = {
    {"Depths1And2_A", 1601, 1000, 1, 2, 28}, {"Depths1And2_B", 1602, 1000, 1, 2, 28},
    {"Depths1And2_C", 1603, 1000, 1, 2, 28}, {"Depths1And2_D", 1604, 1000, 1, 2, 28},
    {"Depth3_A", 1611, 100, 3, 3, 28},       {"Depth3_B", 1612, 100, 3, 3, 28},
    {"Depth3_C", 1613, 100, 3, 3, 28},
};

class ReferenceSolver : public ::testing::TestWithParam<Batch> {};

TEST_P(ReferenceSolver, EngineGivesTheSameSolutionsInOrderAndTheSameResults) {
  const Batch &batch = GetParam();
  std::mt19937_64 random(batch.seed);
  Tally tally;
  for (int i = 0; i < batch.positions; ++i) {
    const std::string fen = NextFen(random, batch.maxMen, i % 2 == 1);
    ASSERT_TRUE(SameAnswer(fen, 0, tally));
    for (int depth = batch.firstDepth; depth <= batch.lastDepth; ++depth)
      ASSERT_TRUE(SameAnswer(fen, depth, tally));
  }
  // A batch proves little unless its tasks came to every kind of answer.
  const int tasks = batch.positions * (batch.lastDepth - batch.firstDepth + 1);
  EXPECT_GT(tally.keysFound, tasks / 20);
  EXPECT_GT(tally.noKey, tasks / 20);
  EXPECT_GT(tally.defencesFound, tasks / 40);
  EXPECT_GT(tally.allRefuted, tasks / 40);
  if (batch.firstDepth == 1) {
    EXPECT_GT(tally.results[reference::kOpponentInCheck], 0);
    EXPECT_GT(tally.results[reference::kStalemate], 0);
    EXPECT_GT(tally.results[reference::kMated], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(RandomPositions, ReferenceSolver, ::testing::ValuesIn(kBatches),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
