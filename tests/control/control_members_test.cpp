// The members of _DOrka by identifier, and what the control answers as an object: the host
// binds by these numbers and types alone.
#include "control/orka_ids.h"
#include "platform/component.h"
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
  EXPECT_EQ(expected, 17);
  DispId id = 0;
  EXPECT_EQ(host.control()->GetIdOfName("cmManColour", &id), kUnknownName);
  EXPECT_EQ(id, kUnknownDispId);
}

TEST(OrkaMembers, CouplingsAnswerOneOrZeroKeepTheirOwnBitAndMakeTheControlDirty) {
  const std::pair<Variant, short> kWrites[] = {
      {Variant::FromShort(5), 1},      {Variant::FromShort(0), 0},
      {Variant::FromBool(true), 1},    {Variant::FromBool(false), 0},
      {Variant::FromShort(-32768), 1}, {Variant::FromString("0"), 0}};
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
        for (const DispId other : kCouplings) {
          EXPECT_EQ(host.Get(other), other == id ? read : others)
              << "member " << other << " after " << id << " with the others at " << others;
        }
      }
    }
  }
  EXPECT_EQ(persist->IsDirty(), kOk);
}

TEST(OrkaMembers, LSuccessIsReadOnlyAndClearSetsItAndWithdrawsEveryRight) {
  const HResult kReadOnly = MakeHResult(0x800A017F); // the code hosts test for
  OrkaHost host;
  EXPECT_EQ(host.Call(kDispPanic), 1);
  ASSERT_EQ(host.Get(kDispLSuccess), 0) << "Panic without a task";
  EXPECT_EQ(host.Put(kDispLSuccess, Variant::FromShort(1)), kReadOnly);
  EXPECT_EQ(host.Get(kDispLSuccess), 0);
  for (const DispId id : kCouplings)
    host.Put(id, -1);
  Variant result = Variant::FromShort(99);
  EXPECT_EQ(host.control()->Invoke(kDispClear, InvokeKind::Method, {}, &result), kOk);
  EXPECT_EQ(result.type(), Variant::Type::Empty); // Clear returns nothing
  ASSERT_EQ(host.Get(kDispLSuccess), 1);
  EXPECT_EQ(host.Put(kDispLSuccess, Variant::FromShort(0)), kReadOnly);
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
      {kDispCmMD, InvokeKind::PropertyPut, {}, kBadParamCount},
      {kDispCmMD, InvokeKind::PropertyPut, two, kBadParamCount},
      {kDispMate, InvokeKind::Method, {}, kBadParamCount},
      {kDispDefend, InvokeKind::Method, two, kBadParamCount},
      {kDispPanic, InvokeKind::Method, {&one, 1}, kBadParamCount},
      {kDispClear, InvokeKind::Method, {&one, 1}, kBadParamCount},
      {kDispCmMD, InvokeKind::PropertyPut, {&junk, 1}, kTypeMismatch},
      {kDispMate, InvokeKind::Method, {&junk, 1}, kTypeMismatch},
      {kDispPlay, InvokeKind::Method, {&one, 1}, kBadParamCount},
      {kDispPlay, InvokeKind::Method, two, kTypeMismatch},
      {kDispPlay, InvokeKind::PropertyGet, {}, kMemberNotFound},
      {kDispPanic, InvokeKind::PropertyGet, {}, kMemberNotFound},
      {0, InvokeKind::PropertyGet, {}, kMemberNotFound},
      {17, InvokeKind::Method, {}, kMemberNotFound},
  };
  host.Put(kDispCmMD, 3);
  for (const auto &c : kCalls) {
    EXPECT_EQ(host.control()->Invoke(c.id, c.kind, c.arguments, nullptr), c.expected)
        << "member " << c.id << " kind " << static_cast<int>(c.kind);
  }
  EXPECT_EQ(host.Get(kDispCmMD), 3) << "a refused write changed nothing";
}

TEST(OrkaPropertyPage, TheControlNamesTheGeneralPageWithItsOneText) {
  OrkaHost host;
  const auto pages =
      QueryInterfaceAs<ISpecifyPropertyPages>(host.control(), kIidSpecifyPropertyPages);
  std::span<const Guid> classes;
  ASSERT_TRUE(pages && pages->GetPages(&classes) == kOk && classes.size() == 1u);
  ComPtr<IPropertyPage> page;
  ASSERT_EQ(CreateObjectFromLibrary(testing_support::OrkaLibraryPath(), classes[0],
                                    kIidPropertyPage, page.ReceiveVoid()),
            kOk);
  const PropertyPageDialog *dialog = nullptr;
  ASSERT_EQ(page->GetDialog(&dialog), kOk);
  ASSERT_TRUE(dialog != nullptr && dialog->texts.size() == 1u);
  EXPECT_EQ(std::tie(dialog->caption, dialog->width, dialog->height),
            std::make_tuple("General", 250, 62));
  const DialogText &t = dialog->texts[0];
  EXPECT_EQ(std::tie(t.x, t.y, t.width, t.height, t.text),
            std::make_tuple(7, 25, 229, 16, "No Proprety Page implemented for Orka.OCX"));
  // The control is an object with a page, not a page itself.
  EXPECT_TRUE(QueryInterfaceAs<IOleObject>(host.control(), kIidOleObject));
  void *none = &classes;
  EXPECT_EQ(host.control()->QueryInterface(kIidPropertyPage, &none), kNoInterface);
  EXPECT_EQ(none, nullptr);
}

} // namespace
