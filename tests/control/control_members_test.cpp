// The members of _DOrka by identifier, and what the control answers as an object: the host
// binds by these numbers and types alone.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace orka;
using namespace platform;
using testing_support::OrkaHost;

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
  const std::pair<Variant, short> kWrites[] = {{Variant::FromShort(5), 1},
                                               {Variant::FromBool(false), 0},
                                               {Variant::FromBool(true), 1},
                                               {Variant::FromShort(-32768), 1},
                                               {Variant::FromString("0"), 0}};
  OrkaHost host;
  const auto persist = QueryInterfaceAs<IPersistState>(host.control(), kIidPersistState);
  ASSERT_TRUE(persist);
  EXPECT_EQ(persist->IsDirty(), kFalse);
  for (const short others : {0, 1}) {
    for (const DispId id : kCouplings) {
      for (const auto &[written, read] : kWrites) {
        for (const DispId other : kCouplings)
          host.Put(other, others);
        ASSERT_EQ(host.Put(id, written), kOk);
        for (const DispId other : kCouplings)
          EXPECT_EQ(host.Get(other), other == id ? read : others) << other << " after " << id;
      }
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

} // namespace
