// The members of _DOrka by identifier, and what the control answers as an object: the host
// binds by these numbers and types alone.
#include "control/orka_ids.h"
#include "platform/component.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

namespace {

using namespace orka;
using namespace platform;
using testing_support::OrkaHost;

TEST(OrkaMembers, NamesMapToTheirIdentifiersWhateverTheCase) {
  // In identifier order, 1 to 14.
  const char *const kNames[] = {"cmManColor",
                                "CMFIELDX",
                                "cmfieldy",
                                "CmMan",
                                "cmMD",
                                "lsuccess",
                                "CouplingWhiteSmall",
                                "couplingwhitelarge",
                                "COUPLINGBLACKSMALL",
                                "CouplingBlackLarge",
                                "mate",
                                "DEFEND",
                                "Panic",
                                "clear"};
  OrkaHost host;
  for (DispId expected = 1; const char *name : kNames) {
    DispId id = 0;
    EXPECT_EQ(host.control()->GetIdOfName(name, &id), kOk) << name;
    EXPECT_EQ(id, expected++) << name;
  }
  DispId id = 0;
  EXPECT_EQ(host.control()->GetIdOfName("cmManColour", &id), kUnknownName);
  EXPECT_EQ(id, kUnknownDispId);
}

TEST(OrkaMembers, PropertiesAreShortsThatReadBackWhatWasWritten) {
  OrkaHost host;
  // cmMan and the coordinates read back even when out of range: placement just ignores them.
  const short kValues[] = {0, 7, 13, -1, 32767, -32768};
  for (const DispId id : {kDispCmManColor, kDispCmFieldX, kDispCmFieldY, kDispCmMan, kDispCmMD}) {
    for (const short value : kValues) {
      host.Put(id, value);
      Variant read;
      ASSERT_EQ(host.control()->Invoke(id, InvokeKind::PropertyGet, {}, &read), kOk);
      EXPECT_EQ(read, Variant::FromShort(value)) << "member " << id;
    }
    EXPECT_EQ(host.Put(id, Variant::FromString("12")), kOk);
    EXPECT_EQ(host.Get(id), 12) << "member " << id;
    EXPECT_EQ(host.Put(id, Variant::FromBool(true)), kOk);
    EXPECT_EQ(host.Get(id), -1) << "member " << id;
  }
}

TEST(OrkaMembers, CouplingsAnswerOneOrZeroAndKeepTheirOwnBit) {
  const DispId kCouplings[] = {kDispCouplingWhiteSmall, kDispCouplingWhiteLarge,
                               kDispCouplingBlackSmall, kDispCouplingBlackLarge};
  const struct {
    Variant written;
    short read;
  } kWrites[] = {{Variant::FromShort(5), 1},      {Variant::FromShort(0), 0},
                 {Variant::FromBool(true), 1},    {Variant::FromBool(false), 0},
                 {Variant::FromShort(-32768), 1}, {Variant::FromString("0"), 0}};
  OrkaHost host;
  host.Call(kDispClear);
  for (const DispId id : kCouplings) {
    for (const auto &w : kWrites) {
      ASSERT_EQ(host.Put(id, w.written), kOk);
      EXPECT_EQ(host.Get(id), w.read) << "member " << id;
      for (const DispId other : kCouplings) {
        if (other != id) {
          EXPECT_EQ(host.Get(other), 0) << "member " << other << " after " << id;
        }
      }
    }
  }
  for (const DispId id : kCouplings)
    host.Put(id, 1);
  for (const DispId id : kCouplings) {
    host.Put(id, 0);
    for (const DispId other : kCouplings)
      EXPECT_EQ(host.Get(other), other == id ? 0 : 1) << "member " << other << " after " << id;
    host.Put(id, 1);
  }
}

TEST(OrkaMembers, LSuccessIsReadOnlyAndKeepsItsValue) {
  OrkaHost host;
  host.Call(kDispClear);
  ASSERT_EQ(host.Get(kDispLSuccess), 1);
  EXPECT_EQ(host.Put(kDispLSuccess, Variant::FromShort(0)), kSetNotSupportedAtRuntime);
  EXPECT_EQ(host.Get(kDispLSuccess), 1);
  EXPECT_EQ(host.Call(kDispPanic), 1); // no task: LSuccess 0
  ASSERT_EQ(host.Get(kDispLSuccess), 0);
  EXPECT_EQ(host.Put(kDispLSuccess, Variant::FromShort(1)), kSetNotSupportedAtRuntime);
  EXPECT_EQ(host.Get(kDispLSuccess), 0);
}

TEST(OrkaMembers, ClearSucceedsAndWithdrawsEveryRight) {
  OrkaHost host;
  host.Call(kDispPanic);
  ASSERT_EQ(host.Get(kDispLSuccess), 0);
  for (DispId id = kDispCouplingWhiteSmall; id <= kDispCouplingBlackLarge; ++id)
    host.Put(id, -1);
  Variant result = Variant::FromShort(99);
  EXPECT_EQ(host.control()->Invoke(kDispClear, InvokeKind::Method, {}, &result), kOk);
  EXPECT_EQ(result.type(), Variant::Type::Empty); // Clear returns nothing
  EXPECT_EQ(host.Get(kDispLSuccess), 1);
  for (DispId id = kDispCouplingWhiteSmall; id <= kDispCouplingBlackLarge; ++id)
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
      {kDispCouplingBlackLarge, InvokeKind::PropertyPut, {&junk, 1}, kTypeMismatch},
      {kDispMate, InvokeKind::Method, {&junk, 1}, kTypeMismatch},
      {0, InvokeKind::PropertyGet, {}, kMemberNotFound},
      {15, InvokeKind::Method, {}, kMemberNotFound},
      {kUnknownDispId, InvokeKind::PropertyPut, {&one, 1}, kMemberNotFound},
  };
  host.Put(kDispCmMD, 3);
  for (const auto &c : kCalls) {
    EXPECT_EQ(host.control()->Invoke(c.id, c.kind, c.arguments, nullptr), c.expected)
        << "member " << c.id << " kind " << static_cast<int>(c.kind);
  }
  EXPECT_EQ(host.Get(kDispCmMD), 3);
  EXPECT_EQ(host.Get(kDispCouplingBlackLarge), 0);
}

TEST(OrkaObject, AnswersItsUserTypeStatusPagesAndDirtiness) {
  OrkaHost host;
  const auto ole = QueryInterfaceAs<IOleObject>(host.control(), kIidOleObject);
  ASSERT_TRUE(ole);
  std::string userType;
  EXPECT_EQ(ole->GetUserType(&userType), kOk);
  EXPECT_EQ(userType, "Orka Control");
  std::uint32_t status = 0;
  EXPECT_EQ(ole->GetMiscStatus(&status), kOk);
  EXPECT_EQ(status, 0x20491u);

  const auto pages =
      QueryInterfaceAs<ISpecifyPropertyPages>(host.control(), kIidSpecifyPropertyPages);
  ASSERT_TRUE(pages);
  std::span<const Guid> classes;
  EXPECT_EQ(pages->GetPages(&classes), kOk);
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0], kClsidOrkaPropPage);

  const auto persist = QueryInterfaceAs<IPersistState>(host.control(), kIidPersistState);
  ASSERT_TRUE(persist);
  EXPECT_EQ(persist->IsDirty(), kFalse);
  host.Put(kDispCouplingBlackSmall, 0);
  EXPECT_EQ(persist->IsDirty(), kOk);

  void *none = &status;
  EXPECT_EQ(host.control()->QueryInterface(kIidPropertyPage, &none), kNoInterface);
  EXPECT_EQ(none, nullptr);
}

TEST(OrkaPropertyPage, DescribesTheGeneralPageWithItsOneText) {
  ComPtr<IPropertyPage> page;
  ASSERT_EQ(CreateObjectFromLibrary(testing_support::OrkaLibraryPath(), kClsidOrkaPropPage,
                                    kIidPropertyPage, page.ReceiveVoid()),
            kOk);
  const PropertyPageDialog *dialog = nullptr;
  ASSERT_EQ(page->GetDialog(&dialog), kOk);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->caption, "General");
  EXPECT_EQ(dialog->width, 250);
  EXPECT_EQ(dialog->height, 62);
  ASSERT_EQ(dialog->texts.size(), 1u);
  const DialogText &text = dialog->texts[0];
  EXPECT_EQ(text.x, 7);
  EXPECT_EQ(text.y, 25);
  EXPECT_EQ(text.width, 229);
  EXPECT_EQ(text.height, 16);
  EXPECT_EQ(text.text, "No Proprety Page implemented for Orka.OCX");
}

} // namespace
