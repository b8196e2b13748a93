#include "control/registration.h"

#include "control/orka_ids.h"

#include <filesystem>

namespace orka {

using namespace platform;

namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

// Writes a key's values in one go; false at the first failure.
struct KeyWriter {
  Registry &registry;
  bool ok = true;

  KeyWriter &Key(const std::string &path) {
    ok = ok && registry.CreateKey(kClasses, path);
    return *this;
  }
  KeyWriter &Value(const std::string &path, std::string_view name, std::string_view value) {
    ok = ok && registry.CreateKey(kClasses, path) && registry.SetValue(kClasses, path, name, value);
    return *this;
  }
};

bool RemoveTree(Registry &registry, const std::string &path) {
  return !registry.KeyExists(kClasses, path) || registry.DeleteTree(kClasses, path);
}

std::string ClassKey(const Guid &classId) { return "CLSID\\" + ToString(classId); }
std::string InterfaceKey(const Guid &iid) { return "Interface\\" + ToString(iid); }
std::string TypeLibKey() { return "TypeLib\\" + ToString(kLibId); }

bool WriteTypeLibrary(Registry &registry, const std::string &libraryPath) {
  const std::string version = TypeLibKey() + "\\" + std::string(kTypeLibVersion);
  const std::string folder = std::filesystem::path(libraryPath).parent_path().string();
  KeyWriter w{registry};
  w.Value(version, "", kTypeLibHelp)
      .Value(version, "Name", kTypeLibName)
      .Value(version, "HelpFile", kTypeLibHelpFile)
      .Value(version + "\\0\\linux", "", libraryPath)
      .Value(version + "\\FLAGS", "", "0")
      .Value(version + "\\HELPDIR", "", folder);
  struct Interface {
    const Guid &iid;
    std::string_view name;
    std::string_view help;
    bool hidden;
  };
  const Interface interfaces[] = {{kIidDOrka, kDOrkaName, kDOrkaHelp, true},
                                  {kIidDOrkaEvents, kDOrkaEventsName, kDOrkaEventsHelp, false}};
  for (const Interface &i : interfaces) {
    const std::string key = InterfaceKey(i.iid);
    w.Value(key, "", i.name)
        .Value(key, "HelpString", i.help)
        .Value(key, "Hidden", i.hidden ? "1" : "0")
        .Value(key + "\\TypeLib", "", ToString(kLibId))
        .Value(key + "\\TypeLib", "Version", kTypeLibVersion);
  }
  return w.ok;
}

bool WriteClass(KeyWriter &w, const Guid &classId, std::string_view progId, std::string_view name,
                const std::string &libraryPath) {
  const std::string key = ClassKey(classId);
  const std::string progIdKey(progId);
  w.Value(key, "", name)
      .Value(key + "\\ProgID", "", progId)
      .Value(key + "\\InprocServer32", "", libraryPath)
      .Value(key + "\\InprocServer32", "ThreadingModel", "Apartment")
      .Value(progIdKey, "", name)
      .Value(progIdKey + "\\CLSID", "", ToString(classId));
  return w.ok;
}

bool WriteClasses(Registry &registry, const std::string &libraryPath) {
  KeyWriter w{registry};
  WriteClass(w, kClsidOrka, kControlProgId, kControlUserType, libraryPath);
  const std::string control = ClassKey(kClsidOrka);
  // Not insertable: no "Insertable" key, so document containers do not offer it.
  w.Value(control, "HelpString", kCoClassHelp)
      .Value(control + "\\ToolboxBitmap32", "", libraryPath + ", 1")
      .Value(control + "\\MiscStatus", "", "0")
      .Value(control + "\\MiscStatus\\1", "", std::to_string(kMiscStatus))
      .Value(control + "\\TypeLib", "", ToString(kLibId))
      .Value(control + "\\Version", "", kTypeLibVersion)
      .Key(control + "\\Control");
  return WriteClass(w, kClsidOrkaPropPage, kPropPageProgId, kPropPageName, libraryPath);
}

} // namespace

HResult RegisterServer(Registry &registry, const std::string &libraryPath) {
  if (!WriteTypeLibrary(registry, libraryPath))
    return kSelfRegTypeLib;
  if (!WriteClasses(registry, libraryPath))
    return kSelfRegClass;
  return kOk;
}

HResult UnregisterServer(Registry &registry) {
  if (!RemoveTree(registry, TypeLibKey()) || !RemoveTree(registry, InterfaceKey(kIidDOrka)) ||
      !RemoveTree(registry, InterfaceKey(kIidDOrkaEvents))) {
    return kSelfRegTypeLib;
  }
  const std::string keys[] = {ClassKey(kClsidOrka), std::string(kControlProgId),
                              ClassKey(kClsidOrkaPropPage), std::string(kPropPageProgId)};
  for (const std::string &key : keys) {
    if (!RemoveTree(registry, key))
      return kSelfRegClass;
  }
  return kOk;
}

} // namespace orka
