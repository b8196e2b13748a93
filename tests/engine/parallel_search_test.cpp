// Several threads on one task, as the thread sanitizer should see them: the reports are those
// of one thread, and stop-on-first stops at the first key in generation order.
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

struct Problem {
  const char *fen;
  int moves;
};

// A #3 with castling, a #4 of many first moves, a Defend with several defences.
const Problem kProblems[] = {
    {"5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1", 3},
    {"B3k2r/2pp1p1p/1p3B2/1np1p2p/Q7/8/8/R3K3 w Qk - 0 1", 4},
    {"1N3b2/p1kN3p/K4PPP/P1p1P3/2R2P2/1P1P4/3pppBB/3Q1R2 w - - 0 1", 4},
    {"r3k2r/1P1p4/8/4P3/8/8/4P3/R3K2R b KQkq - 0 1", 2},
};

TEST(ParallelSearch, ReportsWhatOneThreadReports) {
  for (const Problem &p : kProblems) {
    for (const bool stopOnFound : {false, true}) {
      const auto one = testing_support::Solve(p.fen, p.moves, stopOnFound, {.threads = 1}).events;
      for (const int threads : {2, 3}) {
        EXPECT_EQ(testing_support::Solve(p.fen, p.moves, stopOnFound, {.threads = threads}).events,
                  one)
            << p.fen << ", " << threads << " threads" << (stopOnFound ? ", stop on found" : "");
      }
    }
  }
}

} // namespace
