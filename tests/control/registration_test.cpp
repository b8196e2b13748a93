// The library registers itself into the user's registry, a host creates the control by ProgID
// from there, and unregistering takes every entry away again.
#include "control/orka_ids.h"
#include "platform/component.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace orka;
using namespace platform;
using testing_support::OrkaHost;
using testing_support::SolutionsOf;

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

// Every test gets a config folder of its own, and with it an empty registry.
class OrkaRegistration : public ::testing::Test {
protected:
  void SetUp() override {
    std::string folder = ::testing::TempDir() + "orka_registry_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder_ = folder;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", folder_.c_str(), 1), 0);
    library_ = dlopen(testing_support::OrkaLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr)
      dlclose(library_);
    unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  HResult Call(const char *entryPoint) {
    const auto function = reinterpret_cast<DllRegisterServerFunction>(dlsym(library_, entryPoint));
    EXPECT_NE(function, nullptr) << entryPoint;
    return function != nullptr ? function() : kFail;
  }

  fs::path folder_;
  void *library_ = nullptr;
};

std::string ClassKey(const Guid &classId) { return "CLSID\\" + ToString(classId); }

TEST_F(OrkaRegistration, RegistersCreatesByProgIdAndUnregisters) {
  ASSERT_EQ(Call("DllRegisterServer"), kOk);
  Registry registry;
  const std::string library = fs::canonical(testing_support::OrkaLibraryPath()).string();
  const std::string control = ClassKey(kClsidOrka);
  const std::string page = ClassKey(kClsidOrkaPropPage);
  const std::string typeLib = "TypeLib\\" + ToString(kLibId) + "\\1.0";
  const struct {
    std::string key;
    const char *name;
    std::string value;
  } kEntries[] = {
      {"Orka.OrkaCtrl.1\\CLSID", "", ToString(kClsidOrka)},
      {"Orka.OrkaPropPage.1\\CLSID", "", ToString(kClsidOrkaPropPage)},
      {control, "", "Orka Control"},
      {control + "\\ProgID", "", "Orka.OrkaCtrl.1"},
      {control + "\\InprocServer32", "", library},
      {control + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {control + "\\MiscStatus\\1", "", "132241"},
      {control + "\\TypeLib", "", ToString(kLibId)},
      {page, "", "Orka Property Page"},
      {page + "\\ProgID", "", "Orka.OrkaPropPage.1"},
      {page + "\\InprocServer32", "", library},
      {page + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {typeLib, "", "Orka ActiveX Control module"},
      {typeLib, "Name", "OrkaLib"},
      {"Interface\\" + ToString(kIidDOrka), "HelpString", "Dispatch interface for Orka Control"},
      {"Interface\\" + ToString(kIidDOrkaEvents), "HelpString", "Event interface for Orka Control"},
  };
  for (const auto &e : kEntries) {
    EXPECT_EQ(registry.QueryValue(kClasses, e.key, e.name).value_or("<missing>"), e.value)
        << e.key << " " << e.name;
  }
  EXPECT_TRUE(registry.KeyExists(kClasses, control + "\\Control"));
  EXPECT_FALSE(registry.KeyExists(kClasses, control + "\\Insertable"));

  ComPtr<IDispatch> created;
  ASSERT_EQ(CreateObjectByProgId(registry, kControlProgId, {}, kIidDispatch, created.ReceiveVoid()),
            kOk);
  {
    OrkaHost host(created);
    EXPECT_EQ(SolutionsOf(host.Solve("8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", 2)),
              std::vector<std::string>{"Qa7-f2    "});
  }
  created.Reset();

  ASSERT_EQ(Call("DllUnregisterServer"), kOk);
  for (const auto &e : kEntries)
    EXPECT_FALSE(registry.KeyExists(kClasses, e.key)) << e.key;
  for (const char *key : {"Orka.OrkaCtrl.1", "Orka.OrkaPropPage.1", "CLSID", "TypeLib"}) {
    EXPECT_TRUE(registry.SubKeys(kClasses, key).empty()) << key;
  }
  EXPECT_EQ(Call("DllUnregisterServer"), kOk) << "nothing left to remove is no failure";

  void *object = &created;
  EXPECT_EQ(CreateObjectByProgId(registry, kControlProgId, {}, kIidDispatch, &object),
            kClassNotRegistered);
  EXPECT_EQ(object, nullptr);
  const ComponentFallback beside{std::string(kLibraryFileName), kClsidOrka};
  ASSERT_EQ(
      CreateObjectByProgId(registry, kControlProgId, beside, kIidDispatch, created.ReceiveVoid()),
      kOk);
  EXPECT_TRUE(created);
}

TEST_F(OrkaRegistration, AnUnwritableRegistryFailsOnTheTypeLibrary) {
  const fs::path file = folder_ / "not-a-folder";
  std::ofstream(file) << "a file where the config folder should be\n";
  ASSERT_EQ(setenv("XDG_CONFIG_HOME", (file / "config").c_str(), 1), 0);
  EXPECT_EQ(Call("DllRegisterServer"), kSelfRegTypeLib);
}

} // namespace
