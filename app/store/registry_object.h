// RegistryObject: raw access to the registry for the file-type association. Each operation
// opens, works and closes; failures show only as a false or empty result.
#pragma once

#include "app/store/automation_error.h"
#include "platform/registry.h"

#include <QString>
#include <cstdint>

class RegistryObject {
public:
  // Starts at the classes root.
  RegistryObject();
  explicit RegistryObject(platform::Registry registry);

  // "" when the key or value is missing, the read fails or the value is empty.
  QString ReadVal(const QString &keyPath, const QString &valName);
  // Creates the key when it is missing.
  bool WriteVal(const QString &keyPath, const QString &valName, const QString &value);
  bool CreateKey(const QString &keyPath);
  bool DeleteKey(const QString &keyPath);
  bool DeleteValue(const QString &keyPath, const QString &valName);

  // The root by its short name ("HKCR", "hkcu", ...). Any other text raises error 513 and
  // keeps the root.
  void SetRootKey(const QString &name);
  QString RootKey() const;

  // The root as its handle value, for hosts that keep it as a number.
  void SetRootHandle(std::uint32_t handle) { root_ = handle; }

private:
  platform::Registry registry_;
  std::uint32_t root_;
};
