// The registry as the program sees it: roots, keys below them and string values in the keys. On
// this desktop it is one text file per user, read again whenever it changed, because the
// component's registration and the program's file-type association may write it from other
// processes.
#pragma once

#include "platform/registry_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The values are the predefined handles, so a root can travel as a 32-bit number.
enum class RegistryRoot : std::uint32_t {
  ClassesRoot = 0x80000000,
  CurrentUser = 0x80000001,
  LocalMachine = 0x80000002,
  Users = 0x80000003,
  PerformanceData = 0x80000004,
  CurrentConfig = 0x80000005,
  DynData = 0x80000006,
};

// "HKEY_CLASSES_ROOT" and its siblings, as the file names them; empty for any other value.
std::string_view RootName(RegistryRoot root) noexcept;

// Key paths are components joined by single backslashes ("CLSID\\{...}\\InprocServer32"); an
// empty path is the root itself. Key and value names compare without regard to ASCII case and
// keep the case they were first written with; the empty value name is the key's default value.
// Every call answers false, nullopt or an empty list instead of throwing.
class Registry {
public:
  // $XDG_CONFIG_HOME/Quintabell/registry.reg, beside the program's settings.
  static std::filesystem::path DefaultPath();

  explicit Registry(std::filesystem::path file = DefaultPath()) : file_(std::move(file)) {}

  const std::filesystem::path &File() const { return file_.Path(); }

  // Creates the missing keys along the path; an existing key is simply there.
  bool CreateKey(RegistryRoot root, std::string_view path) noexcept;
  bool KeyExists(RegistryRoot root, std::string_view path) const noexcept;
  // Refuses a key that still has subkeys, as the system does.
  bool DeleteKey(RegistryRoot root, std::string_view path) noexcept;
  // The key with all its subkeys and values.
  bool DeleteTree(RegistryRoot root, std::string_view path) noexcept;

  std::optional<std::string> QueryValue(RegistryRoot root, std::string_view path,
                                        std::string_view name) const noexcept;
  // The key must exist already; roots hold no values.
  bool SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                std::string_view value) noexcept;
  bool DeleteValue(RegistryRoot root, std::string_view path, std::string_view name) noexcept;

  // Names of the key's direct subkeys in case-insensitive order; empty when the key is missing.
  std::vector<std::string> SubKeys(RegistryRoot root, std::string_view path) const noexcept;

private:
  RegistryFile file_; // copies of a Registry share what it has read
};

} // namespace platform
