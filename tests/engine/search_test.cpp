// Whole Mate and Defend tasks as a worker runs them: the notices, the progress figures, the end
// after the first solution and the order of every report. Which moves the solutions are is
// the comparison with the reference solver's (tests/reference).
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

struct EventCase {
  const char *name;
  const char *fen; // the side to move picks the task
  int depth;
  bool stopOnFound;
  const char *events;
};

// Every first move reports progress before its legality is known, so illegal first moves show
// up in the figures too.
const EventCase kEventCases[] = {
    // 12 first moves: e8=N, Q, R, B, then the eight king steps (a7 and b7 illegal); step 833.
    {"PromotionReportsFourTimesAndEachKeyFollowsItsOwnProgress", "k7/4P3/1K6/8/8/8/8/8 w - - 0 1",
     1, false,
     "progress 0, progress 8, solution  e7-e8=Q #, progress 16, solution  e7-e8=R #, "
     "progress 24, progress 33, progress 41, progress 49, progress 58, progress 66, progress 74, "
     "progress 83, progress 91, progress 100, finished"},
    {"StopOnFoundEndsAtTheFirstKey", "k7/4P3/1K6/8/8/8/8/8 w - - 0 1", 1, true,
     "progress 0, progress 8, solution  e7-e8=Q #, finished"},
    // The side not to move in check is refused before the depth is looked at.
    {"BlackInCheckWithWhiteToMoveAtDepthZero", "k7/8/1K6/8/8/8/8/R7 w - - 0 1", 0, false,
     "solution >> CHECKMT, progress 100, finished"},
    // h7-h5, h7-h6, Kb7 (illegal), Ka7, Kb8 (illegal): step 2000.
    {"DefendAtDepthOneListsEveryLegalMove", "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1", 1, false,
     "progress 0, solution  h7-h5    , progress 20, solution  h7-h6    , progress 40, "
     "progress 60, solution Ka8-a7    , progress 80, progress 100, finished"},
    // The king's five steps from c1 are all covered by the queen on a2 and the king on e1.
    {"BlackStalemated", "8/8/8/8/8/8/Q7/2k1K2R b K - 0 1", 2, false,
     "progress 0, progress 20, progress 40, progress 60, progress 80, solution >> STALEMT, "
     "progress 100, finished"},
    {"DefendAtDepthZero", "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1", 0, false, "progress 100, finished"},
    // Nothing is searched without one king per side, but a host waiting for the end of the
    // task still gets it.
    {"NoBlackKingOnlyEnds", "8/8/8/8/8/8/8/R3K3 w - - 0 1", 2, false, "progress 100, finished"},
};

class TaskEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(TaskEvents, AreReportedInOrder) {
  const EventCase &c = GetParam();
  std::string events;
  for (const std::string &e : testing_support::Solve(c.fen, c.depth, c.stopOnFound).events)
    events += (events.empty() ? "" : ", ") + e;
  EXPECT_EQ(events, c.events);
}

INSTANTIATE_TEST_SUITE_P(Tasks, TaskEvents, ::testing::ValuesIn(kEventCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
