// The registry file's text. A header line, then one section line "[ROOT\path]" per key followed
// by its values, "name"="data" or @="data" for the default value, quoted so that any bytes come
// back unchanged. Lines the reader cannot make sense of are kept as they were and written back
// after the keys, under a section line of their own: a change never loses what a damaged or
// newer file held.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry_text {

inline constexpr std::array<std::string_view, 7> kRootNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

struct Value {
  std::string name; // as first written
  std::string data;
};

struct Key {
  std::string path;                    // as first written
  std::map<std::string, Value> values; // by case-folded name
};

// The keys of one root by case-folded path. A key's subtree is then the run of paths that begin
// with its own path and a backslash, and every parent is written to the file before its children.
using Keys = std::map<std::string, Key>;

struct Hive {
  std::array<Keys, kRootNames.size()> roots;
  std::vector<std::string> unread; // lines kept as found, in file order
};

// Only ASCII letters fold: the names are bytes in whatever code page wrote them, and folding
// part of a UTF-8 sequence would merge names that differ.
std::string Fold(std::string_view text);

// The components of a key path, none of them empty; key names hold printable characters only,
// which also keeps them on their section line. The root itself has no components.
std::optional<std::vector<std::string_view>> SplitPath(std::string_view path);

// Creates the missing keys along the path; true when any was missing.
bool Create(Keys &keys, const std::vector<std::string_view> &parts);

// Sets a value; true when it was missing or different.
bool Put(Key &key, std::string_view name, std::string_view data);

// Every line either reads completely or is kept unread, so a damaged or cut file never yields a
// shortened value.
Hive Parse(std::string_view text);
std::string Print(const Hive &hive);

} // namespace platform::registry_text
