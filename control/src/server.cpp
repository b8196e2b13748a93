// The library as an in-process server: one class factory per class and the four entry points.
#include "control/server.h"
#include "platform/deep_thread.h"

#include "control/orka_ctrl.h"
#include "control/orka_ids.h"
#include "control/orka_prop_page.h"
#include "control/registration.h"
#include "control/solver_task.h"

#include <dlfcn.h>
#include <filesystem>

namespace orka {

using namespace platform;

namespace {

std::atomic<long> locks{0};

using Creator = HResult (*)(const Guid &iid, void **object);

// The factories live as long as the library: their reference counts do not keep it loaded.
class ClassFactory final : public IClassFactory {
public:
  explicit ClassFactory(Creator create) : create_(create) {}

  HResult QueryInterface(const Guid &iid, void **object) override {
    if (object == nullptr)
      return kPointer;
    if (iid == kIidUnknown || iid == kIidClassFactory) {
      *object = static_cast<IClassFactory *>(this);
      return kOk;
    }
    *object = nullptr;
    return kNoInterface;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }

  HResult CreateInstance(IUnknown *outer, const Guid &iid, void **object) override {
    if (object == nullptr)
      return kPointer;
    *object = nullptr;
    if (outer != nullptr)
      return kNoAggregation;
    return create_(iid, object);
  }
  HResult LockServer(bool lock) override {
    lock ? ++locks : --locks;
    return kOk;
  }

private:
  const Creator create_;
};

ClassFactory controlFactory(&CreateInstance<COrkaCtrl>);
ClassFactory propPageFactory(&CreateInstance<COrkaPropPage>);

// Where this library was loaded from, for the registry entries that name it.
std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void *>(&LibraryPath), &info) == 0 ||
      info.dli_fname == nullptr) {
    return {};
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::canonical(info.dli_fname, error);
  return error ? std::string(info.dli_fname) : path.string();
}

} // namespace

std::atomic<long> &LiveObjects() {
  static std::atomic<long> alive{0};
  return alive;
}

} // namespace orka

using namespace platform;

extern "C" {

__attribute__((visibility("default"))) HResult DllGetClassObject(const Guid &classId,
                                                                 const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  *object = nullptr;
  if (classId == orka::kClsidOrka)
    return orka::controlFactory.QueryInterface(iid, object);
  if (classId == orka::kClsidOrkaPropPage)
    return orka::propPageFactory.QueryInterface(iid, object);
  return kClassNotAvailable;
}

__attribute__((visibility("default"))) HResult DllCanUnloadNow() {
  const bool idle = orka::LiveObjects() == 0 && orka::locks == 0 && orka::LiveWorkers() == 0 &&
                    platform::DeepThread::RunningLetGo() == 0;
  return idle ? kOk : kFalse;
}

__attribute__((visibility("default"))) HResult DllRegisterServer() {
  Registry registry;
  return orka::RegisterServer(registry, orka::LibraryPath());
}

__attribute__((visibility("default"))) HResult DllUnregisterServer() {
  Registry registry;
  return orka::UnregisterServer(registry);
}

} // extern "C"
