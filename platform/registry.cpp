#include "platform/registry.h"

#include "platform/registry_text.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

using registry_text::Hive;
using registry_text::Keys;
using Edit = RegistryFile::Edit;

constexpr std::uint32_t kFirstRoot = 0x80000000;

std::optional<std::size_t> RootIndex(RegistryRoot root) {
  const std::uint32_t index = static_cast<std::uint32_t>(root) - kFirstRoot;
  if (index >= registry_text::kRootNames.size())
    return std::nullopt;
  return index;
}

struct Location {
  std::size_t root;
  std::vector<std::string_view> parts;
  std::string folded;
};

std::optional<Location> Locate(RegistryRoot root, std::string_view path) {
  const auto index = RootIndex(root);
  auto parts = registry_text::SplitPath(path);
  if (!index || !parts)
    return std::nullopt;
  return Location{*index, std::move(*parts), registry_text::Fold(path)};
}

// The run of keys below a key, for reading or erasing.
template <typename KeysT> auto Below(KeysT &keys, const std::string &folded) {
  const std::string prefix = folded.empty() ? folded : folded + '\\';
  const auto first = keys.lower_bound(prefix);
  auto last = first;
  while (last != keys.end() && last->first.starts_with(prefix))
    ++last;
  return std::pair(first, last);
}

// The keys as the file holds them, none when it cannot be read.
std::shared_ptr<const Hive> Read(const RegistryFile &file) {
  auto hive = file.Current();
  return hive ? hive : std::make_shared<const Hive>();
}

template <typename Result, typename Body> Result Guarded(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// A change to the keys of one root at a path below it; a root takes no values and cannot go.
template <typename EditFn>
bool ChangeKey(RegistryFile &file, RegistryRoot root, std::string_view path, EditFn edit) {
  return Guarded(false, [&] {
    const auto at = Locate(root, path);
    return at && !at->parts.empty() &&
           file.Change([&](Hive &hive) { return edit(hive.roots[at->root], *at); });
  });
}

} // namespace

std::string_view RootName(RegistryRoot root) noexcept {
  const auto index = RootIndex(root);
  return index ? registry_text::kRootNames[*index] : std::string_view();
}

fs::path Registry::DefaultPath() {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  fs::path folder;
  if (config && *config) {
    folder = config;
  } else {
    const char *home = std::getenv("HOME");
    const passwd *user = home && *home ? nullptr : getpwuid(getuid());
    folder = fs::path(home && *home ? home : user ? user->pw_dir : "") / ".config";
  }
  return folder / "Quintabell" / "registry.reg";
}

bool Registry::CreateKey(RegistryRoot root, std::string_view path) noexcept {
  if (path.empty())
    return RootIndex(root).has_value();
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    return registry_text::Create(keys, at.parts) ? Edit::Changed : Edit::Unchanged;
  });
}

bool Registry::KeyExists(RegistryRoot root, std::string_view path) const noexcept {
  return Guarded(false, [&] {
    const auto at = Locate(root, path);
    return at && (at->parts.empty() || Read(file_)->roots[at->root].contains(at->folded));
  });
}

bool Registry::DeleteKey(RegistryRoot root, std::string_view path) noexcept {
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    const auto [first, last] = Below(keys, at.folded);
    if (key == keys.end() || first != last)
      return Edit::Refused;
    keys.erase(key);
    return Edit::Changed;
  });
}

bool Registry::DeleteTree(RegistryRoot root, std::string_view path) noexcept {
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    if (keys.erase(at.folded) == 0)
      return Edit::Refused;
    const auto [first, last] = Below(keys, at.folded);
    keys.erase(first, last);
    return Edit::Changed;
  });
}

std::optional<std::string> Registry::QueryValue(RegistryRoot root, std::string_view path,
                                                std::string_view name) const noexcept {
  return Guarded(std::optional<std::string>(), [&]() -> std::optional<std::string> {
    const auto at = Locate(root, path);
    if (!at || at->parts.empty())
      return std::nullopt;
    const auto hive = Read(file_);
    const Keys &keys = hive->roots[at->root];
    const auto key = keys.find(at->folded);
    if (key == keys.end())
      return std::nullopt;
    const auto value = key->second.values.find(registry_text::Fold(name));
    if (value == key->second.values.end())
      return std::nullopt;
    return value->second.data;
  });
}

bool Registry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                        std::string_view value) noexcept {
  return ChangeKey(file_, root, path, [&](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    if (key == keys.end())
      return Edit::Refused;
    return registry_text::Put(key->second, name, value) ? Edit::Changed : Edit::Unchanged;
  });
}

bool Registry::DeleteValue(RegistryRoot root, std::string_view path,
                           std::string_view name) noexcept {
  return ChangeKey(file_, root, path, [&](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    if (key == keys.end() || key->second.values.erase(registry_text::Fold(name)) == 0)
      return Edit::Refused;
    return Edit::Changed;
  });
}

std::vector<std::string> Registry::SubKeys(RegistryRoot root,
                                           std::string_view path) const noexcept {
  return Guarded(std::vector<std::string>(), [&] {
    std::vector<std::string> names;
    const auto at = Locate(root, path);
    if (!at)
      return names;
    const auto hive = Read(file_);
    const Keys &keys = hive->roots[at->root];
    if (!at->parts.empty() && !keys.contains(at->folded))
      return names;
    const auto [first, last] = Below(keys, at->folded);
    const std::size_t prefix = at->folded.empty() ? 0 : at->folded.size() + 1;
    for (auto key = first; key != last; ++key) {
      if (key->first.find('\\', prefix) == std::string::npos)
        names.push_back(key->second.path.substr(prefix));
    }
    return names;
  });
}

} // namespace platform
