// The component layer a host relies on: GUID texts as the registry stores them, and loading and
// unloading in-process server libraries.
#include "control/orka_ids.h"
#include "platform/component.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>

namespace {

using namespace platform;

const Guid kOrka = orka::kClsidOrka;

// The registry round trip itself is the registration's and the loader's to show.
TEST(Guids, ParseAndPrintTheRegistryFormOnly) {
  EXPECT_EQ(ToString(Guid{0xFFFFFFFF, 0, 0xFFFF, {255, 0, 255, 255, 255, 255, 255, 1}}),
            "{FFFFFFFF-0000-FFFF-FF00-FFFFFFFFFF01}");
  Guid lower{};
  EXPECT_TRUE(ParseGuid("{771ded40-3cbe-4d53-9486-32f919d49dd4}", lower) && lower == kOrka);
  // A digit for a dash, and signs, blanks and prefixes a lenient number parser would take.
  for (const char *bad :
       {"{771DED40-3CBE-4D53-9486-32F919D49DD4}0", "{771DED4003CBE-4D53-9486-32F919D49DD4}",
        "{+71DED40-3CBE-4D53-9486-32F919D49DD4}", "{0x1DED40-3CBE-4D53-9486-32F919D49DD4}"}) {
    Guid guid{};
    EXPECT_FALSE(ParseGuid(bad, guid)) << bad;
  }
}

std::filesystem::path Orka() { return ProgramFolder() / orka::kLibraryFileName; }

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
  // A library without the entry points is let go again at once.
  void *handle = dlopen((ProgramFolder() / "libnot_a_server.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(handle, nullptr);
  if (handle != nullptr)
    dlclose(handle);
  std::filesystem::remove(text);
}

// The fallback is for a class the registry cannot lead to; a registered server's refusal stands.
TEST(Loader, CreatesByProgIdFromTheRegistryOrFromTheFallback) {
  const testing_support::TempFolder folder("progid");
  Registry registry(folder / "registry.reg");
  const ComponentFallback beside{std::string(orka::kLibraryFileName), kOrka};
  const struct {
    Guid classId;
    std::string server;
    ComponentFallback fallback;
    Guid iid;
    HResult result;
  } kCases[] = {
      {kOrka, Orka().string(), {}, kIidUnknown, kOk},
      {kOrka, Orka().string(), {}, kIidClassFactory, kNoInterface},
      {kOrka, (folder / "missing.so").string(), {}, kIidUnknown, kClassNotRegistered},
      {kOrka, (folder / "missing.so").string(), beside, kIidUnknown, kOk},
      {orka::kLibId, Orka().string(), beside, kIidUnknown, kClassNotAvailable},
  };
  constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
  for (const auto &c : kCases) {
    const std::string server = "CLSID\\" + ToString(c.classId) + "\\InprocServer32";
    ASSERT_TRUE(registry.CreateKey(kClasses, "Q.Ctrl.1\\CLSID") &&
                registry.SetValue(kClasses, "Q.Ctrl.1\\CLSID", "", ToString(c.classId)) &&
                registry.CreateKey(kClasses, server) &&
                registry.SetValue(kClasses, server, "", c.server));
    ComPtr<IUnknown> object;
    EXPECT_EQ(CreateObjectByProgId(registry, "q.ctrl.1", c.fallback, c.iid, object.ReceiveVoid()),
              c.result)
        << c.server;
    EXPECT_EQ(static_cast<bool>(object), c.result == kOk) << c.server;
  }
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
