#include "platform/component.h"

#include <dlfcn.h>
#include <map>
#include <mutex>

namespace platform {

namespace {

struct LoadedLibrary {
  void *handle = nullptr;
  DllGetClassObjectFunction getClassObject = nullptr;
  DllCanUnloadNowFunction canUnloadNow = nullptr;
};

std::mutex librariesMutex;
std::map<std::string, LoadedLibrary> libraries;

// Loads once per path; null when the file is missing or lacks the server's entry points.
const LoadedLibrary *Load(const std::filesystem::path &path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error || !std::filesystem::is_regular_file(absolute, error))
    return nullptr;
  std::lock_guard lock(librariesMutex);
  const auto found = libraries.find(absolute.string());
  if (found != libraries.end())
    return &found->second;
  void *handle = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr)
    return nullptr;
  LoadedLibrary library{
      handle, reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject")),
      reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"))};
  if (library.getClassObject == nullptr || library.canUnloadNow == nullptr) {
    dlclose(handle);
    return nullptr;
  }
  return &libraries.emplace(absolute.string(), library).first->second;
}

std::string DefaultValue(Registry &registry, const std::string &key) {
  return registry.QueryValue(RegistryRoot::ClassesRoot, key, "").value_or("");
}

} // namespace

HResult CreateObjectFromLibrary(const std::filesystem::path &libraryPath, const Guid &classId,
                                const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  *object = nullptr;
  const LoadedLibrary *library = Load(libraryPath);
  if (library == nullptr)
    return kClassNotRegistered;
  ComPtr<IClassFactory> factory;
  const HResult found = library->getClassObject(classId, kIidClassFactory, factory.ReceiveVoid());
  if (Failed(found))
    return found;
  return factory->CreateInstance(nullptr, iid, object);
}

HResult CreateObjectByProgId(Registry &registry, std::string_view progId,
                             const ComponentFallback &fallback, const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  *object = nullptr;
  Guid classId{};
  if (ParseGuid(DefaultValue(registry, std::string(progId) + "\\CLSID"), classId)) {
    const std::string server =
        DefaultValue(registry, "CLSID\\" + ToString(classId) + "\\InprocServer32");
    if (!server.empty()) {
      const HResult result = CreateObjectFromLibrary(server, classId, iid, object);
      if (result != kClassNotRegistered)
        return result;
    }
  }
  if (fallback.libraryFileName.empty())
    return kClassNotRegistered;
  return CreateObjectFromLibrary(ProgramFolder() / fallback.libraryFileName, fallback.classId, iid,
                                 object);
}

int FreeUnusedLibraries() {
  std::lock_guard lock(librariesMutex);
  for (auto it = libraries.begin(); it != libraries.end();) {
    if (it->second.canUnloadNow() == kOk) {
      dlclose(it->second.handle);
      it = libraries.erase(it);
    } else {
      ++it;
    }
  }
  return static_cast<int>(libraries.size());
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path(error) : program.parent_path();
}

} // namespace platform
