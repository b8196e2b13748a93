// Whole Mate and Defend tasks as a worker runs them: which moves are reported, the notices,
// the progress figures and the order of every report.
#include "engine/fast_search.h"
#include "engine/search.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::Solve;
using Events = std::vector<std::string>;
using Lines = std::vector<std::string>;

struct EventCase {
  const char *name;
  const char *fen; // the side to move picks the task
  int depth;
  Events events;
};

// Every first move reports progress before its legality is known, so illegal first moves show
// up in the figures too.
const EventCase kEventCases[] = {
    // 12 first moves: e8=N, Q, R, B, then the eight king steps (a7 and b7 illegal); step 833.
    {"PromotionReportsFourTimesAndEachKeyFollowsItsOwnProgress",
     "k7/4P3/1K6/8/8/8/8/8 w - - 0 1",
     1,
     {"progress 0", "progress 8", "solution  e7-e8=Q #", "progress 16", "solution  e7-e8=R #",
      "progress 24", "progress 33", "progress 41", "progress 49", "progress 58", "progress 66",
      "progress 74", "progress 83", "progress 91", "progress 100", "finished"}},
    // d2-d4, d2-d3, Nf2, Ng3, Kb2, Ka2, Kb1: step 1428.
    {"SevenFirstMovesWithoutAKey",
     "7k/8/8/8/8/8/3P4/K6N w - - 0 1",
     1,
     {"progress 0", "progress 14", "progress 28", "progress 42", "progress 57", "progress 71",
      "progress 85", "progress 100", "finished"}},
    // Only Kb2 can even be tried, and the black pawns guard b2.
    {"WhiteWithOneIllegalMoveIsStalemated",
     "7k/8/8/8/8/p1p5/P1P5/KB6 w - - 0 1",
     1,
     {"progress 0", "solution >> STALEMT", "progress 100", "finished"}},
    {"WhiteStalemated",
     "8/8/8/8/8/1q6/2k5/K7 w - - 0 1",
     1,
     {"progress 0", "progress 33", "progress 66", "solution >> STALEMT", "progress 100",
      "finished"}},
    {"WhiteAlreadyMatedGetsNoSolution",
     "8/8/8/8/8/2k5/1q6/K7 w - - 0 1",
     1,
     {"progress 0", "progress 33", "progress 66", "progress 100", "finished"}},
    {"BlackInCheckWithWhiteToMove",
     "k7/8/1K6/8/8/8/8/R7 w - - 0 1",
     1,
     {"solution >> CHECKMT", "progress 100", "finished"}},
    {"BlackInCheckWithWhiteToMoveAtDepthZero",
     "k7/8/1K6/8/8/8/8/R7 w - - 0 1",
     0,
     {"solution >> CHECKMT", "progress 100", "finished"}},
    {"MateAtDepthZero", "k7/8/1K6/8/8/8/8/7R w - - 0 1", 0, {"progress 100", "finished"}},
    // h7-h5, h7-h6, Kb7 (illegal), Ka7, Kb8 (illegal): step 2000.
    {"DefendAtDepthOneListsEveryLegalMove",
     "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1",
     1,
     {"progress 0", "solution  h7-h5    ", "progress 20", "solution  h7-h6    ", "progress 40",
      "progress 60", "solution Ka8-a7    ", "progress 80", "progress 100", "finished"}},
    {"WhiteInCheckWithBlackToMove",
     "k7/8/1K6/8/8/8/8/1r6 b - - 0 1",
     2,
     {"solution >> CHECKMT", "progress 100", "finished"}},
    // The king's five steps from c1 are all covered by the queen on a2 and the king on e1.
    {"BlackStalemated",
     "8/8/8/8/8/8/Q7/2k1K2R b K - 0 1",
     2,
     {"progress 0", "progress 20", "progress 40", "progress 60", "progress 80",
      "solution >> STALEMT", "progress 100", "finished"}},
    {"BlackAlreadyMatedGetsNoDefence",
     "k6R/8/1K6/8/8/8/8/8 b - - 0 1",
     2,
     {"progress 0", "progress 33", "progress 66", "progress 100", "finished"}},
    {"DefendAtDepthZero", "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1", 0, {"progress 100", "finished"}},
    // Nothing is searched without one king per side, but a host waiting for the end of the
    // task still gets it.
    {"NoBlackKingOnlyEnds", "8/8/8/8/8/8/8/R3K3 w - - 0 1", 2, {"progress 100", "finished"}},
};

class TaskEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(TaskEvents, AreReportedInOrder) {
  const EventCase &c = GetParam();
  EXPECT_EQ(Solve(c.fen, c.depth).events, c.events);
}

INSTANTIATE_TEST_SUITE_P(Tasks, TaskEvents, ::testing::ValuesIn(kEventCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct SolutionCase {
  const char *name;
  const char *fen;
  int depth;
  Lines solutions;
};

const SolutionCase kSolutionCases[] = {
    {"TwoMatesInOneInGenerationOrder",
     "k7/8/1K6/8/8/8/6R1/7R w - - 0 1",
     1,
     {"Rg2-g8   #", "Rh1-h8   #"}},
    // Qb6 leaves Black without a move but not in check.
    {"StalematingMoveIsNoKey", "k7/2K5/7Q/8/8/8/8/8 w - - 0 1", 1, {"Qh6-a6   #"}},
    // After 1.Rh2 Black must play Kb8 and 2.Rh8 mates.
    {"NoDefenceAfterTheKey", "k7/8/1K6/8/8/8/7R/8 b - - 0 1", 2, {}},
    // After 1.Rc1 Kb8 neither Rc8+ (Kxc8) nor anything else mates.
    {"RefutationOfAFailedFirstMove", "k7/8/1K6/8/8/8/8/2R5 b - - 0 1", 2, {"Ka8-b8    "}},
    // 1.Qf2 Kb1 and only castling mates, so the search below must castle.
    {"NoDefenceWhenOnlyCastlingMates", "8/8/8/8/8/8/5Q2/2k1K2R b K - 0 1", 2, {}},
    {"BlackMateOfWhiteIsListedWithItsMark",
     "k7/8/8/8/6n1/8/6PP/6RK b - - 0 1",
     1,
     {"Ng4-e5    ", "Ng4-f6    ", "Ng4-h6    ", "Ng4xh2    ", "Ng4-f2   #", "Ng4-e3    ",
      "Ka8-b7    ", "Ka8-a7    ", "Ka8-b8    "}},
    // Without the rook g1 is free, and Nf2 is only check.
    {"BlackCheckWithoutMateIsMarkedPlus",
     "k7/8/8/8/6n1/8/6PP/7K b - - 0 1",
     1,
     {"Ng4-e5    ", "Ng4-f6    ", "Ng4-h6    ", "Ng4xh2    ", "Ng4-f2   +", "Ng4-e3    ",
      "Ka8-b7    ", "Ka8-a7    ", "Ka8-b8    "}},
};

class TaskSolutions : public ::testing::TestWithParam<SolutionCase> {};

TEST_P(TaskSolutions, AreExactlyTheseInThisOrder) {
  const SolutionCase &c = GetParam();
  EXPECT_EQ(Solve(c.fen, c.depth).Solutions(), c.solutions);
}

INSTANTIATE_TEST_SUITE_P(Tasks, TaskSolutions, ::testing::ValuesIn(kSolutionCases),
                         [](const auto &info) { return std::string(info.param.name); });

bool Contains(const Lines &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(MateSearch, MateInOneIsAlsoAKeyOfALongerTask) {
  const Lines keys = Solve("k7/8/1K6/8/8/8/6R1/7R w - - 0 1", 2).Solutions();
  const auto g8 = std::find(keys.begin(), keys.end(), "Rg2-g8   #");
  const auto h8 = std::find(keys.begin(), keys.end(), "Rh1-h8   #");
  ASSERT_NE(g8, keys.end());
  ASSERT_NE(h8, keys.end());
  EXPECT_LT(g8, h8);
  // 1.Rg3 Kb8 2.Rg8 mate: quiet keys of the full length are found as well.
  EXPECT_TRUE(Contains(keys, "Rg2-g3    "));
}

TEST(MateSearch, StalemateIsNeverAWinAtAnyDepth) {
  for (int depth = 1; depth <= 3; ++depth) {
    const Lines keys = Solve("k7/2K5/7Q/8/8/8/8/8 w - - 0 1", depth).Solutions();
    EXPECT_TRUE(Contains(keys, "Qh6-a6   #")) << "depth " << depth;
    EXPECT_FALSE(Contains(keys, "Qh6-b6    ")) << "depth " << depth;
  }
}

struct StopCase {
  const char *name;
  const char *fen;
  int depth;
  const char *first;
};

const StopCase kStopCases[] = {
    {"Mate", "k7/8/1K6/8/8/8/6R1/7R w - - 0 1", 1, "solution Rg2-g8   #"},
    {"Defend", "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1", 1, "solution  h7-h5    "},
};

class StopOnFound : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopOnFound, EndsWithFinishedRightAfterTheFirstSolution) {
  const StopCase &c = GetParam();
  const Events events = Solve(c.fen, c.depth, true).events;
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], c.first);
  EXPECT_EQ(events.back(), "finished");
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const std::string &e) { return e.rfind("solution", 0) == 0; }),
            1);
  EXPECT_FALSE(Contains(events, "progress 100"));
}

INSTANTIATE_TEST_SUITE_P(Tasks, StopOnFound, ::testing::ValuesIn(kStopCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct PlacedPositionCase {
  const char *name;
  const char *fen;
  int depth;
};

// Castling, promotions, en passant below the root and captures on the corners all run inside
// these searches.
const PlacedPositionCase kPlacedPositions[] = {
    {"MateWithCastlingInTheTree", "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", 2},
    {"MateWithPromotions", "2K4N/3PP1k1/5N2/6n1/8/8/8/8 w - - 0 1", 3},
    {"DefendWithDoubleStepsAndCastling", "r3k2r/1P1p4/8/4P3/8/8/4P3/R3K2R b KQkq - 0 1", 2},
};

class FinishedSearch : public ::testing::TestWithParam<PlacedPositionCase> {};

std::vector<engine::CellCode> Cells(const engine::Position &pos) {
  return {pos.Cells(), pos.Cells() + engine::kBoardCells};
}

// Every first move is searched on the same board, so each search must leave it as it found it.
TEST_P(FinishedSearch, LeavesThePositionAsItFoundIt) {
  const PlacedPositionCase &c = GetParam();
  for (const bool plain : {true, false}) {
    engine::MateTable table;
    table.SetLimit(8);
    engine::SearchContext ctx;
    const problem::FenPosition position = testing_support::ParseFenOrFail(c.fen);
    ctx.table = &table;
    ctx.Prepare(position.board, c.depth);
    engine::Position &pos = ctx.position;
    pos.rights = position.castlingRights;
    pos.ply = pos.plyStack.data() + 1;
    const std::vector<engine::CellCode> before = Cells(pos);
    const engine::NodeKey key = engine::PositionKey(pos, !position.whiteToMove);
    if (position.whiteToMove) {
      plain ? engine::WhiteMates(ctx) : engine::FastWhiteMates(ctx, c.depth, key);
    } else {
      plain ? engine::BlackEscapes(ctx) : engine::FastBlackEscapes(ctx, c.depth, key);
    }
    EXPECT_GT(pos.nodes, 0u);
    EXPECT_EQ(Cells(pos), before) << (plain ? "plain" : "fast");
    EXPECT_EQ(pos.rights, position.castlingRights);
    EXPECT_EQ(pos.ply, pos.plyStack.data() + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Tasks, FinishedSearch, ::testing::ValuesIn(kPlacedPositions),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
