// The library registers itself into the user's registry, a host creates the control by ProgID
// from there, and unregistering takes every entry away again.
#include "control/orka_ids.h"
#include "platform/component.h"
#include "tests/support/orka_host.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace orka;
using namespace platform;
using namespace testing_support;

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

// Every test gets a config folder of its own, and with it an empty registry.
class OrkaRegistration : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1), 0);
    library_ = dlopen(OrkaLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr)
      dlclose(library_);
    unsetenv("XDG_CONFIG_HOME");
  }

  HResult Call(const char *entryPoint) {
    const auto function = reinterpret_cast<DllRegisterServerFunction>(dlsym(library_, entryPoint));
    EXPECT_NE(function, nullptr) << entryPoint;
    return function != nullptr ? function() : kFail;
  }

  const testing_support::TempFolder folder_{"orka_registry"};
  void *library_ = nullptr;
};

TEST_F(OrkaRegistration, RegistersCreatesByProgIdAndUnregisters) {
  ASSERT_EQ(Call("DllRegisterServer"), kOk);
  Registry registry;
  // Hosts in any folder load the library by its full path, find the control's status bits in
  // decimal and its type library by identifier, and offer it as a control, not as an object.
  const std::string control = "CLSID\\" + ToString(kClsidOrka);
  EXPECT_EQ(registry.QueryValue(kClasses, control + "\\InprocServer32", ""),
            fs::canonical(OrkaLibraryPath()).string());
  EXPECT_EQ(registry.QueryValue(kClasses, control + "\\MiscStatus\\1", ""), "132241");
  EXPECT_EQ(registry.QueryValue(kClasses, control + "\\TypeLib", ""), ToString(kLibId));
  EXPECT_TRUE(registry.KeyExists(kClasses, "TypeLib\\" + ToString(kLibId) + "\\1.0"));
  EXPECT_TRUE(registry.KeyExists(kClasses, control + "\\Control"));
  EXPECT_FALSE(registry.KeyExists(kClasses, control + "\\Insertable"));

  ComPtr<IDispatch> created;
  ASSERT_EQ(CreateObjectByProgId(registry, kControlProgId, {}, kIidDispatch, created.ReceiveVoid()),
            kOk);
  EXPECT_EQ(SolutionsOf(OrkaHost(created).Solve(kMateInTwo, 2)), Events{"Qa7-f2    "});
  created.Reset();
  ComPtr<IPropertyPage> page;
  EXPECT_EQ(
      CreateObjectByProgId(registry, kPropPageProgId, {}, kIidPropertyPage, page.ReceiveVoid()),
      kOk);
  page.Reset();

  ASSERT_EQ(Call("DllUnregisterServer"), kOk);
  for (const std::string_view key : {"CLSID", "TypeLib", "Interface"})
    EXPECT_TRUE(registry.SubKeys(kClasses, key).empty()) << key;
  for (const std::string_view key : {kControlProgId, kPropPageProgId})
    EXPECT_FALSE(registry.KeyExists(kClasses, key)) << key;
  EXPECT_EQ(Call("DllUnregisterServer"), kOk) << "nothing left to remove is no failure";
}

TEST_F(OrkaRegistration, AnUnwritableRegistryFailsOnTheTypeLibrary) {
  const fs::path file = folder_ / "not-a-folder";
  std::ofstream(file) << "a file where the config folder should be\n";
  ASSERT_EQ(setenv("XDG_CONFIG_HOME", (file / "config").c_str(), 1), 0);
  EXPECT_EQ(Call("DllRegisterServer"), kSelfRegTypeLib);
}

} // namespace
