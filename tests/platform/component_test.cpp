// The component layer a host relies on: GUID texts as the registry stores them, the coercion
// of property values, and loading and unloading in-process server libraries.
#include "control/orka_ids.h"
#include "platform/component.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>

namespace {

using namespace platform;

const Guid kOrka = orka::kClsidOrka;

TEST(Guids, TextRoundTripsInTheRegistryForm) {
  const struct {
    Guid guid;
    const char *text;
  } kCases[] = {
      {kOrka, "{771DED40-3CBE-4D53-9486-32F919D49DD4}"},
      {Guid{}, "{00000000-0000-0000-0000-000000000000}"},
      {Guid{0xFFFFFFFF, 0xFFFF, 0xFFFF, {255, 255, 255, 255, 255, 255, 255, 255}},
       "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
      {kIidDispatch, "{00020400-0000-0000-C000-000000000046}"},
  };
  for (const auto &c : kCases) {
    EXPECT_EQ(ToString(c.guid), c.text);
    Guid parsed{};
    ASSERT_TRUE(ParseGuid(c.text, parsed)) << c.text;
    EXPECT_EQ(parsed, c.guid) << c.text;
  }
  Guid lower{};
  ASSERT_TRUE(ParseGuid("{771ded40-3cbe-4d53-9486-32f919d49dd4}", lower));
  EXPECT_EQ(lower, kOrka);
}

TEST(Guids, MalformedTextsAreRefused) {
  const char *const kTexts[] = {
      "",
      "771DED40-3CBE-4D53-9486-32F919D49DD4",
      "{771DED40-3CBE-4D53-9486-32F919D49DD4",
      "{771DED40-3CBE-4D53-9486-32F919D49DD}",
      "{771DED40-3CBE-4D53-9486-32F919D49DD4}0",
      "{771DED403-CBE-4D53-9486-32F919D49DD4}",
      "{771DED40-3CBE-4D53-948632-F919D49DD4}",
      "{771DED4G-3CBE-4D53-9486-32F919D49DD4}",
      "{+71DED40-3CBE-4D53-9486-32F919D49DD4}",
      "{ 71DED40-3CBE-4D53-9486-32F919D49DD4}",
      "{0x1DED40-3CBE-4D53-9486-32F919D49DD4}",
  };
  for (const char *text : kTexts) {
    Guid guid{};
    EXPECT_FALSE(ParseGuid(text, guid)) << text;
  }
}

TEST(Variants, CoerceToShortLikeAPropertyPut) {
  const struct {
    Variant value;
    bool converts;
    short expected;
  } kCases[] = {
      {Variant(), true, 0},
      {Variant::FromShort(-5), true, -5},
      {Variant::FromBool(true), true, -1},
      {Variant::FromBool(false), true, 0},
      {Variant::FromString("12"), true, 12},
      {Variant::FromString("-32768"), true, -32768},
      {Variant::FromString("32767"), true, 32767},
      {Variant::FromString("32768"), false, 0},
      {Variant::FromString("-32769"), false, 0},
      {Variant::FromString("99999999999"), false, 0},
      {Variant::FromString(""), false, 0},
      {Variant::FromString("abc"), false, 0},
      {Variant::FromString("12a"), false, 0},
      {Variant::FromString(" 12"), false, 0},
      {Variant::FromString("1.5"), false, 0},
  };
  for (const auto &c : kCases) {
    short value = 777;
    EXPECT_EQ(c.value.ToShort(value), c.converts) << c.value.AsString();
    if (c.converts) {
      EXPECT_EQ(value, c.expected) << c.value.AsString();
    }
  }
}

std::filesystem::path Orka() { return ProgramFolder() / orka::kLibraryFileName; }

bool Loaded(const std::filesystem::path &library) {
  void *handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr)
    dlclose(handle);
  return handle != nullptr;
}

TEST(Loader, FilesThatAreNoServerAnswerClassNotRegistered) {
  const std::filesystem::path text = ::testing::TempDir() + "not-a-library.so";
  std::ofstream(text) << "text, not code\n";
  const std::filesystem::path kLibraries[] = {ProgramFolder() / "no-such-library.so", text,
                                              ProgramFolder(),
                                              ProgramFolder() / "libnot_a_server.so"};
  for (const auto &library : kLibraries) {
    void *object = &object;
    EXPECT_EQ(CreateObjectFromLibrary(library, kOrka, kIidUnknown, &object), kClassNotRegistered)
        << library;
    EXPECT_EQ(object, nullptr) << library;
  }
  EXPECT_FALSE(Loaded(ProgramFolder() / "libnot_a_server.so"));
  std::filesystem::remove(text);
}

TEST(Loader, AServerRefusesAClassItDoesNotHave) {
  void *object = &object;
  EXPECT_EQ(CreateObjectFromLibrary(Orka(), orka::kLibId, kIidUnknown, &object),
            kClassNotAvailable);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CreateObjectFromLibrary(Orka(), kOrka, kIidClassFactory, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  FreeUnusedLibraries();
}

TEST(Loader, ALibraryStaysLoadedWhileOneOfItsObjectsLives) {
  for (const Guid &classId : {orka::kClsidOrka, orka::kClsidOrkaPropPage}) {
    SCOPED_TRACE(ToString(classId));
    const int before = FreeUnusedLibraries();
    ComPtr<IUnknown> object;
    ASSERT_EQ(CreateObjectFromLibrary(Orka(), classId, kIidUnknown, object.ReceiveVoid()), kOk);
    ComPtr<IUnknown> second = object;
    EXPECT_EQ(FreeUnusedLibraries(), before + 1);
    object.Reset();
    EXPECT_EQ(FreeUnusedLibraries(), before + 1);
    second.Reset();
    // The count is all there is to see: the C++ runtime's unique symbols keep the file mapped.
    EXPECT_EQ(FreeUnusedLibraries(), before);
  }
}

} // namespace
