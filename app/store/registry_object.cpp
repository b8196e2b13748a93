#include "app/store/registry_object.h"

#include <array>

namespace {

constexpr int kErrorNumber = 513;
// A value must fit, with its terminating zero, in the buffer a read uses.
constexpr int kReadBuffer = 1024;

struct Root {
  const char *name;
  std::uint32_t handle;
};

constexpr std::array<Root, 7> kRoots = {{{"HKCR", 0x80000000},
                                         {"HKCU", 0x80000001},
                                         {"HKLM", 0x80000002},
                                         {"HKU", 0x80000003},
                                         {"HKPD", 0x80000004},
                                         {"HKCC", 0x80000005},
                                         {"HKDD", 0x80000006}}};

std::string Bytes(const QString &text) { return text.toStdString(); }

} // namespace

RegistryObject::RegistryObject() : RegistryObject(platform::Registry()) {}

RegistryObject::RegistryObject(platform::Registry registry)
    : registry_(std::move(registry)), root_(kRoots[0].handle) {}

QString RegistryObject::ReadVal(const QString &keyPath, const QString &valName) {
  const auto value =
      registry_.QueryValue(platform::RegistryRoot(root_), Bytes(keyPath), Bytes(valName));
  if (!value || static_cast<int>(value->size()) >= kReadBuffer)
    return {};
  return QString::fromStdString(*value);
}

bool RegistryObject::WriteVal(const QString &keyPath, const QString &valName,
                              const QString &value) {
  const auto root = platform::RegistryRoot(root_);
  if (!registry_.KeyExists(root, Bytes(keyPath)) && !CreateKey(keyPath))
    return false;
  return registry_.SetValue(root, Bytes(keyPath), Bytes(valName), Bytes(value));
}

bool RegistryObject::CreateKey(const QString &keyPath) {
  return registry_.CreateKey(platform::RegistryRoot(root_), Bytes(keyPath));
}

bool RegistryObject::DeleteKey(const QString &keyPath) {
  return registry_.DeleteKey(platform::RegistryRoot(root_), Bytes(keyPath));
}

bool RegistryObject::DeleteValue(const QString &keyPath, const QString &valName) {
  return registry_.DeleteValue(platform::RegistryRoot(root_), Bytes(keyPath), Bytes(valName));
}

void RegistryObject::SetRootKey(const QString &name) {
  for (const Root &root : kRoots) {
    if (name.compare(QLatin1String(root.name), Qt::CaseInsensitive) == 0) {
      root_ = root.handle;
      return;
    }
  }
  throw AutomationError(kErrorNumber, QStringLiteral("RegistryObject::LetRootKey()"),
                        QStringLiteral("unsupported key string: \"%1\"").arg(name));
}

QString RegistryObject::RootKey() const {
  for (const Root &root : kRoots) {
    if (root.handle == root_)
      return QLatin1String(root.name);
  }
  throw AutomationError(
      kErrorNumber, QStringLiteral("RegistryObject::GetRootKey()"),
      QStringLiteral("invalid setting: Root = 0x%1").arg(QString::number(root_, 16).toUpper()));
}
