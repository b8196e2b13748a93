// The members of _DOrka by identifier, what the control answers as an object, and what a host
// sees of a task: the position and rights it placed, the events in their exact order, and the
// delivery to several sinks. The host binds by these numbers and types alone.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

using namespace orka;
using namespace platform;
using namespace testing_support;

const DispId kCouplings[] = {kDispCouplingWhiteSmall, kDispCouplingWhiteLarge,
                             kDispCouplingBlackSmall, kDispCouplingBlackLarge};

TEST(OrkaMembers, NamesMapToTheirIdentifiersWhateverTheCase) {
  // In identifier order, 1 to 14, and the added Threads and Play.
  std::istringstream names("cmManColor CMFIELDX cmfieldy CmMan cmMD lsuccess CouplingWhiteSmall "
                           "couplingwhitelarge COUPLINGBLACKSMALL CouplingBlackLarge mate DEFEND "
                           "Panic clear threads PLAY");
  OrkaHost host;
  DispId expected = 1;
  for (std::string name; names >> name; ++expected) {
    DispId id = 0;
    EXPECT_EQ(host.control()->GetIdOfName(name, &id), kOk) << name;
    EXPECT_EQ(id, expected) << name;
  }
  DispId id = 0;
  EXPECT_EQ(host.control()->GetIdOfName("cmManColour", &id), kUnknownName);
  EXPECT_EQ(id, kUnknownDispId);
}

TEST(OrkaMembers, CouplingsAnswerOneOrZeroKeepTheirOwnBitAndMakeTheControlDirty) {
  const std::pair<Variant, short> kWrites[] = {{Variant::FromShort(-32768), 1},
                                               {Variant::FromBool(false), 0},
                                               {Variant::FromBool(true), 1},
                                               {Variant::FromString("0"), 0}};
  OrkaHost host;
  const auto persist = QueryInterfaceAs<IPersistState>(host.control(), kIidPersistState);
  ASSERT_TRUE(persist);
  EXPECT_EQ(persist->IsDirty(), kFalse);
  // The others stand at the opposite of what is written, so that a write reaching them shows.
  for (const DispId id : kCouplings) {
    for (const auto &[written, read] : kWrites) {
      for (const DispId other : kCouplings)
        host.Put(other, static_cast<short>(1 - read));
      ASSERT_EQ(host.Put(id, written), kOk);
      for (const DispId other : kCouplings)
        EXPECT_EQ(host.Get(other), other == id ? read : 1 - read) << other << " after " << id;
    }
  }
  EXPECT_EQ(persist->IsDirty(), kOk);
  // Clear sets LSuccess, returns nothing and withdraws every right.
  EXPECT_EQ(host.Call(kDispPanic), 1);
  ASSERT_EQ(host.Get(kDispLSuccess), 0) << "Panic without a task";
  Variant result = Variant::FromShort(99);
  EXPECT_EQ(host.control()->Invoke(kDispClear, InvokeKind::Method, {}, &result), kOk);
  EXPECT_EQ(result.type(), Variant::Type::Empty);
  EXPECT_EQ(host.Get(kDispLSuccess), 1);
  for (const DispId id : kCouplings)
    EXPECT_EQ(host.Get(id), 0) << "member " << id;
}

TEST(OrkaMembers, MalformedCallsAreRefusedWithTheirErrors) {
  OrkaHost host;
  const Variant one = Variant::FromShort(1);
  const Variant two[] = {one, one};
  const Variant junk = Variant::FromString("twelve");
  const struct {
    DispId id;
    InvokeKind kind;
    std::span<const Variant> arguments;
    HResult expected;
  } kCalls[] = {
      {kDispCmMD, InvokeKind::PropertyGet, {&one, 1}, kBadParamCount},
      {kDispCmMD, InvokeKind::PropertyPut, two, kBadParamCount},
      {kDispCmMD, InvokeKind::PropertyPut, {&junk, 1}, kTypeMismatch},
      {kDispLSuccess, InvokeKind::PropertyPut, {&one, 1}, MakeHResult(0x800A017F)}, // read-only
      {kDispMate, InvokeKind::Method, {}, kBadParamCount},
      {kDispPanic, InvokeKind::Method, {&one, 1}, kBadParamCount},
      {kDispMate, InvokeKind::Method, {&junk, 1}, kTypeMismatch},
      {kDispPlay, InvokeKind::Method, {&one, 1}, kBadParamCount},
      {kDispPlay, InvokeKind::Method, two, kTypeMismatch},
      {kDispPanic, InvokeKind::PropertyGet, {}, kMemberNotFound},
      {17, InvokeKind::Method, {}, kMemberNotFound},
  };
  host.Put(kDispCmMD, 3);
  for (const auto &c : kCalls) {
    EXPECT_EQ(host.control()->Invoke(c.id, c.kind, c.arguments, nullptr), c.expected)
        << "member " << c.id << " kind " << static_cast<int>(c.kind);
  }
  EXPECT_EQ(host.Get(kDispCmMD), 3) << "a refused write changed nothing";
  EXPECT_EQ(host.Get(kDispLSuccess), 0);
}

const Events kTwoRooksKeys = {"Rg2-g8   #", "Rh1-h8   #"};
// Mate in one with two keys among twelve first moves: the promotions to queen and rook.
const char *const kTwoPromotions = "k7/4P3/1K6/8/8/8/8/8 w - - 0 1";
const char *const kTwoPromotionsEvents =
    "progress 0, progress 8, solution  e7-e8=Q #, progress 16, solution  e7-e8=R #, "
    "progress 24, progress 33, progress 41, progress 49, progress 58, progress 66, progress 74, "
    "progress 83, progress 91, progress 100, finished";

// Events in one line, so that a table of cases can state them and a failure shows them whole.
std::string Joined(const Events &events) {
  std::string line;
  for (const std::string &event : events)
    line += (line.empty() ? "" : ", ") + event;
  return line;
}

TEST(OrkaPlacement, OnlyInRangeWritesChangeThePosition) {
  // The coordinates of the ignored writes are chosen so that 8 * file + rank lands on g2 (49)
  // or h1 (56): a placement that only checked the square number would take a rook away.
  const struct {
    const char *rule;
    short file, rank, man;
    Events keys;
  } kPlacements[] = {
      {"ManCodeAboveTwelve", 6, 1, 13, kTwoRooksKeys},
      {"NegativeManCode", 6, 1, -1, kTwoRooksKeys},
      {"FileEight", 8, 1, 0, kTwoRooksKeys},
      {"NegativeFile", -1, 1, 0, kTwoRooksKeys},
      {"RankEight", 6, 8, 0, kTwoRooksKeys},
      {"NegativeRank", 7, -7, 0, kTwoRooksKeys},
      {"EmptyManCodeClearsTheSquare", 7, 0, 0, {"Rg2-g8   #"}},
      {"AnotherManReplacesTheRook", 6, 1, 3, {"Rh1-h8   #"}},
  };
  OrkaHost host;
  for (const auto &p : kPlacements) {
    host.Place(kTwoRooks, 1);
    host.Put(kDispCmFieldX, p.file);
    host.Put(kDispCmFieldY, p.rank);
    host.Put(kDispCmMan, p.man);
    EXPECT_EQ(SolutionsOf(host.Run()), p.keys) << p.rule;
  }
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
      {"k7/8/1K6/8/8/8/8/7R w - - 0 1", 0, 0, "progress 100, finished"},
      {"8/8/8/4k3/8/8/8/R7 w - - 0 1", 2, 0, "progress 100, finished"}, // no white king
      {kDefence, 1, 1, "progress 0, solution  h7-h5    , finished"},
  };
  OrkaHost host;
  for (const auto &c : kCases) {
    EXPECT_EQ(Joined(host.Solve(c.fen, c.depth, c.stopOnFound)), c.events)
        << c.fen << " depth " << c.depth << " StopOnFound " << c.stopOnFound;
  }
}

TEST(OrkaEvents, EverySinkGetsEachEventInAdviseOrderWhateverTheOthersDo) {
  OrkaHost host;
  std::atomic<int> thrown = 0;
  const auto throwing = RecordingSink::Make();
  throwing->onEvent = [&](const std::string &) {
    ++thrown;
    throw std::runtime_error("host failure");
  };
  const auto failing = RecordingSink::Make();
  failing->invokeResult = platform::kFail;
  const auto first = RecordingSink::Make();
  const auto second = RecordingSink::Make();
  // A sink records an event after its handler: the first hears each event before the second,
  // and both before the next event.
  first->onEvent = [&](const std::string &) { EXPECT_EQ(second->Count(), first->Count()); };
  second->onEvent = [&](const std::string &) { EXPECT_EQ(first->Count(), second->Count() + 1); };
  host.Advise(*throwing);
  host.Advise(*failing);
  host.Advise(*first);
  const std::uint32_t cookie = host.Advise(*second);
  host.Solve(kTwoPromotions, 1);
  host.Unadvise(cookie);
  first->onEvent = nullptr;
  host.Solve(kTwoPromotions, 1);
  const std::string twice = Joined({kTwoPromotionsEvents, kTwoPromotionsEvents});
  EXPECT_EQ(Joined(failing->Events()), twice);
  EXPECT_EQ(thrown, static_cast<int>(failing->Count()));
  EXPECT_EQ(Joined(first->Events()), twice);
  EXPECT_EQ(Joined(second->Events()), kTwoPromotionsEvents) << "heard after Unadvise";
}

} // namespace
