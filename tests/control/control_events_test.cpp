// What a host sees of a task: the position and rights it placed, the events in their exact
// order, and the delivery to several sinks.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace orka;
using testing_support::OrkaHost;
using testing_support::RecordingSink;
using testing_support::SolutionsOf;
using Events = std::vector<std::string>;

// Mate in one with two keys: the rook on g2 (file 6, rank 1) and the rook on h1 (7, 0).
const char *const kTwoRooks = "k7/8/1K6/8/8/8/6R1/7R w - - 0 1";
const Events kTwoRooksKeys = {"Rg2-g8   #", "Rh1-h8   #"};
// Mate in one with two keys among twelve first moves: the promotions to queen and rook.
const char *const kTwoPromotions = "k7/4P3/1K6/8/8/8/8/8 w - - 0 1";
const char *const kTwoPromotionsEvents =
    "progress 0, progress 8, solution  e7-e8=Q #, progress 16, solution  e7-e8=R #, "
    "progress 24, progress 33, progress 41, progress 49, progress 58, progress 66, progress 74, "
    "progress 83, progress 91, progress 100, finished";
// A mate in six that keeps a worker busy far longer than any test waits.
const char *const kDeepMate = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1";

// Events in one line, so that a table of cases can state them and a failure shows them whole.
std::string Joined(const Events &events) {
  std::string line;
  for (const std::string &event : events)
    line += (line.empty() ? "" : ", ") + event;
  return line;
}

struct Placement {
  const char *rule;
  short file, rank, man;
  Events keys;
};

// The coordinates of the ignored writes are chosen so that 8 * file + rank lands on g2 (49) or
// h1 (56): a placement that only checked the square number would take a rook away.
const Placement kPlacements[] = {
    {"ManCodeAboveTwelve", 6, 1, 13, kTwoRooksKeys},
    {"NegativeManCode", 6, 1, -1, kTwoRooksKeys},
    {"FileEight", 8, 1, 0, kTwoRooksKeys},
    {"NegativeFile", -1, 1, 0, kTwoRooksKeys},
    {"FileEightRankBelowZero", 8, -15, 0, kTwoRooksKeys},
    {"FileBelowZeroRankAboveSeven", -1, 57, 0, kTwoRooksKeys},
    {"RankEight", 6, 8, 0, kTwoRooksKeys},
    {"NegativeRank", 7, -7, 0, kTwoRooksKeys},
    {"EmptyManCodeClearsTheSquare", 7, 0, 0, {"Rg2-g8   #"}},
    {"AnotherManReplacesTheRook", 6, 1, 3, {"Rh1-h8   #"}},
};

TEST(OrkaPlacement, OnlyInRangeWritesChangeThePosition) {
  OrkaHost host;
  for (const Placement &p : kPlacements) {
    host.Place(kTwoRooks, 1);
    host.Put(kDispCmFieldX, p.file);
    host.Put(kDispCmFieldY, p.rank);
    host.Put(kDispCmMan, p.man);
    EXPECT_EQ(host.Get(kDispCmMan), p.man) << p.rule;
    EXPECT_EQ(SolutionsOf(host.Run()), p.keys) << p.rule;
  }
}

TEST(OrkaPlacement, WritesWhileATaskRunsAreIgnored) {
  OrkaHost host;
  const Events shallow = host.Solve(kDeepMate, 1);
  ASSERT_TRUE(SolutionsOf(shallow).empty()) << "the rooks' mate in one would have keys";
  ASSERT_EQ(host.Start(kDeepMate, 6), 1);
  // Put the two rooks' mate on the board square by square while the deep task runs.
  for (int n = 0; n < 64; ++n) {
    host.Put(kDispCmFieldX, static_cast<short>(n / 8));
    host.Put(kDispCmFieldY, static_cast<short>(n % 8));
    host.Put(kDispCmMan, 0);
  }
  const struct { short file, rank, man; } kMen[] = {{0, 7, 12}, {1, 5, 6}, {6, 1, 2}, {7, 0, 2}};
  for (const auto &m : kMen) {
    host.Put(kDispCmFieldX, m.file);
    host.Put(kDispCmFieldY, m.rank);
    host.Put(kDispCmMan, m.man);
  }
  host.Call(kDispPanic);
  ASSERT_EQ(host.Get(kDispLSuccess), 1) << "the deep task was over before the writes";
  host.Put(kDispCmMD, 1);
  EXPECT_EQ(host.Run(), shallow);
}

TEST(OrkaPlacement, RightsReachTheTaskOnlyThroughTheCouplings) {
  // Mate in two whose only key is White's short castling.
  const char *const kCastlingKey = "8/7B/2R5/4Nr1p/4kb1Q/8/1B6/4K2R w K - 0 1";
  const char *const kNoRights = "8/7B/2R5/4Nr1p/4kb1Q/8/1B6/4K2R w - - 0 1";
  const struct {
    const char *rule;
    const char *fen;
    DispId coupling;
    short value;
    Events keys;
  } kCases[] = {
      {"RightGranted", kCastlingKey, kDispCmManColor, 7, {"  0-0     "}},
      {"ClearWithdrewTheLastRunsRight", kNoRights, kDispCmManColor, 8, {}},
      {"RightWithdrawnAfterPlacing", kCastlingKey, kDispCouplingWhiteSmall, 0, {}},
      {"OnlyTheLongRightGranted", kNoRights, kDispCouplingWhiteLarge, -1, {}},
      {"RightGrantedAfterPlacing", kNoRights, kDispCouplingWhiteSmall, -1, {"  0-0     "}},
  };
  OrkaHost host;
  for (const auto &c : kCases) {
    host.Place(c.fen, 2);
    host.Put(c.coupling, c.value);
    EXPECT_EQ(SolutionsOf(host.Run()), c.keys) << c.rule;
  }
}

TEST(OrkaEvents, ComeInTheirFixedOrder) {
  const char *const kDefence = "k7/7p/8/8/8/8/8/1R2K3 b - - 0 1";
  const struct {
    const char *fen;
    short depth, stopOnFound;
    const char *events;
  } kCases[] = {
      {kTwoPromotions, 1, 0, kTwoPromotionsEvents},
      {kTwoPromotions, 1, -1, "progress 0, progress 8, solution  e7-e8=Q #, finished"},
      {"k7/8/1K6/8/8/8/8/R7 w - - 0 1", 2, 0, "solution >> CHECKMT, progress 100, finished"},
      {"8/8/8/8/8/1q6/2k5/K7 w - - 0 1", 2, 0,
       "progress 0, progress 33, progress 66, solution >> STALEMT, progress 100, finished"},
      {"k7/8/1K6/8/8/8/8/7R w - - 0 1", 0, 0, "progress 100, finished"},
      {kDefence, 1, 0,
       "progress 0, solution  h7-h5    , progress 20, solution  h7-h6    , progress 40, "
       "progress 60, solution Ka8-a7    , progress 80, progress 100, finished"},
      {kDefence, 1, 1, "progress 0, solution  h7-h5    , finished"},
  };
  OrkaHost host;
  for (const auto &c : kCases) {
    EXPECT_EQ(Joined(host.Solve(c.fen, c.depth, c.stopOnFound)), c.events)
        << c.fen << " depth " << c.depth << " StopOnFound " << c.stopOnFound;
  }
}

TEST(OrkaEvents, EverySinkGetsEachEventBeforeTheNextOne) {
  OrkaHost host;
  std::mutex mutex;
  Events log;
  const auto first = RecordingSink::Make();
  const auto second = RecordingSink::Make();
  const auto logAs = [&](std::string name) {
    return [&, name](const std::string &event) {
      std::lock_guard lock(mutex);
      log.push_back(name + event);
    };
  };
  first->onEvent = logAs("first ");
  second->onEvent = logAs("second ");
  host.Advise(*first);
  host.Advise(*second);
  ASSERT_EQ(host.Start(kTwoPromotions, 1), 1);
  ASSERT_TRUE(second->WaitFor("finished"));
  const Events events = first->Events();
  EXPECT_EQ(Joined(events), kTwoPromotionsEvents);
  EXPECT_EQ(Joined(second->Events()), kTwoPromotionsEvents);
  Events interleaved;
  for (const std::string &event : events) {
    interleaved.push_back("first " + event);
    interleaved.push_back("second " + event);
  }
  std::lock_guard lock(mutex);
  EXPECT_EQ(log, interleaved);
}

TEST(OrkaEvents, AFailingSinkKeepsNoOtherFromItsEvents) {
  OrkaHost host;
  std::atomic<int> thrown = 0;
  const auto throwing = RecordingSink::Make();
  throwing->onEvent = [&](const std::string &) {
    ++thrown;
    throw std::runtime_error("host failure");
  };
  const auto failing = RecordingSink::Make();
  failing->invokeResult = platform::kFail;
  const auto healthy = RecordingSink::Make();
  host.Advise(*throwing);
  host.Advise(*failing);
  host.Advise(*healthy);
  ASSERT_EQ(host.Start(kTwoPromotions, 1), 1);
  ASSERT_TRUE(healthy->WaitFor("finished"));
  EXPECT_EQ(Joined(healthy->Events()), kTwoPromotionsEvents);
  EXPECT_EQ(Joined(failing->Events()), kTwoPromotionsEvents);
  EXPECT_EQ(thrown, static_cast<int>(healthy->Count()));
}

TEST(OrkaEvents, AnUnadvisedSinkHearsNothingMore) {
  OrkaHost host;
  const auto kept = RecordingSink::Make();
  const auto dropped = RecordingSink::Make();
  host.Advise(*kept);
  host.Unadvise(host.Advise(*dropped));
  const std::uint32_t cookie = host.Advise(*dropped);
  host.Solve(kTwoPromotions, 1);
  host.Unadvise(cookie);
  host.Solve(kTwoPromotions, 1);
  EXPECT_EQ(Joined(dropped->Events()), kTwoPromotionsEvents);
  EXPECT_EQ(Joined(kept->Events()), Joined({kTwoPromotionsEvents, kTwoPromotionsEvents}));
}

} // namespace
