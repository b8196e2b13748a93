// The accelerated search against the plain one, which is the reference, and any number of
// search threads against one: on random positions every report of a task must be the same, in
// the same order.
#include "tests/reference/random_positions.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::RecordingHost;

std::vector<std::string> Reports(const std::string &fen, int depth, bool plain, int threads = 1) {
  return testing_support::Solve(fen, depth, false,
                                {.plain = plain, .hashMegabytes = 8, .threads = threads})
      .events;
}

TEST(AcceleratedSearch, AgreesWithThePlainSearchAndWithItselfOnManyThreads) {
  std::mt19937_64 random(20261206);
  int compared = 0;
  int withSolutions = 0;
  for (int i = 0; compared < 1000; ++i) {
    const std::string fen = reference::RandomTaskFen(random, 3 + static_cast<int>(random() % 14));
    const int depth = 1 + i % 3;
    const std::vector<std::string> plain = Reports(fen, depth, true);
    // A side not to move in check is refused at once by both; it proves nothing.
    if (plain.front() == "solution >> CHECKMT")
      continue;
    ++compared;
    withSolutions += std::any_of(plain.begin(), plain.end(), [](const std::string &e) {
      return e.rfind("solution ", 0) == 0 && e.rfind("solution >>", 0) != 0;
    });
    ASSERT_EQ(Reports(fen, depth, false), plain) << fen << " depth " << depth;
    for (const int threads : {2, 3, 8}) {
      ASSERT_EQ(Reports(fen, depth, false, threads), plain)
          << fen << " depth " << depth << ", " << threads << " threads";
    }
    ASSERT_EQ(Reports(fen, depth, true, 3), plain) << fen << " depth " << depth << ", plain";
  }
  // The comparison means little unless the positions have solutions to agree on.
  EXPECT_GT(withSolutions, 200);
}

} // namespace
